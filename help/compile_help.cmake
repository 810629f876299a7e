# Compiles the help pages into kirabi.chm with chmcmd.
#   cmake -DCHMCMD=... -DSOURCE=help-folder -DWORK=scratch-folder -DOUTPUT=.../kirabi.chm -P compile_help.cmake
# chmcmd reports problems on its output but still exits with 0, so its
# output decides whether the build fails.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(COPY "${SOURCE}/" DESTINATION "${WORK}" PATTERN "*.cmake" EXCLUDE PATTERN "CMakeLists.txt" EXCLUDE)
execute_process(COMMAND "${CHMCMD}" --no-html-scan kirabi.hhp
                WORKING_DIRECTORY "${WORK}"
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0 OR "${out}${err}" MATCHES "Error|Warning" OR NOT EXISTS "${WORK}/kirabi.chm")
  message(FATAL_ERROR "chmcmd failed (${result}):\n${out}${err}")
endif()
file(COPY_FILE "${WORK}/kirabi.chm" "${OUTPUT}")
