# Compiles the help pages into kirabi.chm with chmcmd.
#   cmake -DCHMCMD=... -DSOURCE=help-folder -DWORK=scratch-folder -DOUTPUT=.../kirabi.chm -P compile_help.cmake
# chmcmd reports problems on its output but still exits with 0, so its
# output decides whether the build fails.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(COPY "${SOURCE}/" DESTINATION "${WORK}" PATTERN "*.cmake" EXCLUDE PATTERN "CMakeLists.txt" EXCLUDE)
# A page may take a shared piece from shared/ with a comment of the form
# "<!-- include NAME -->", so that two pages can show the same tables.
file(GLOB pages "${WORK}/_RESOURCE/*.html")
foreach(page ${pages})
  file(READ "${page}" text)
  string(REGEX MATCHALL "<!-- include [A-Za-z0-9_.]+ -->" includes "${text}")
  foreach(include ${includes})
    string(REGEX REPLACE "<!-- include ([A-Za-z0-9_.]+) -->" "\\1" name "${include}")
    if(NOT EXISTS "${WORK}/shared/${name}")
      message(FATAL_ERROR "${page}: no shared piece ${name}")
    endif()
    file(READ "${WORK}/shared/${name}" piece)
    string(REPLACE "${include}" "${piece}" text "${text}")
  endforeach()
  file(WRITE "${page}" "${text}")
endforeach()

# The keyword index: the fixed entries of kirabi.hhk.in and one entry per
# built-in function, taken from the headings of the reference pages, in
# alphabetical order (every entry line starts the same way up to the name).
file(STRINGS "${WORK}/kirabi.hhk.in" entries REGEX "^<LI>")
file(GLOB reference_pages RELATIVE "${WORK}" "${WORK}/_RESOURCE/qvs_*.html")
foreach(page ${reference_pages})
  file(STRINGS "${WORK}/${page}" headings REGEX "<h3><a name=\"[A-Z_0-9]+\">")
  foreach(heading ${headings})
    string(REGEX REPLACE ".*<h3><a name=\"([A-Z_0-9]+)\">.*" "\\1" name "${heading}")
    list(APPEND entries
      "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"${name}\"><param name=\"Local\" value=\"${page}#${name}\"></OBJECT>")
  endforeach()
endforeach()
list(SORT entries CASE INSENSITIVE)
list(JOIN entries "\n" entry_lines)
file(WRITE "${WORK}/kirabi.hhk"
  "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\n<HTML>\n<BODY>\n<UL>\n${entry_lines}\n</UL>\n</BODY>\n</HTML>\n")

execute_process(COMMAND "${CHMCMD}" --no-html-scan kirabi.hhp
                WORKING_DIRECTORY "${WORK}"
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0 OR "${out}${err}" MATCHES "Error|Warning" OR NOT EXISTS "${WORK}/kirabi.chm")
  message(FATAL_ERROR "chmcmd failed (${result}):\n${out}${err}")
endif()
file(COPY_FILE "${WORK}/kirabi.chm" "${OUTPUT}")
