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

execute_process(COMMAND "${CHMCMD}" --no-html-scan kirabi.hhp
                WORKING_DIRECTORY "${WORK}"
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0 OR "${out}${err}" MATCHES "Error|Warning" OR NOT EXISTS "${WORK}/kirabi.chm")
  message(FATAL_ERROR "chmcmd failed (${result}):\n${out}${err}")
endif()
file(COPY_FILE "${WORK}/kirabi.chm" "${OUTPUT}")
