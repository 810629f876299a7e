# The CB. function table, FormatCPUToString's figures and the polling rule.
if(TARGET kirabi_script_host)
  kirabi_test(script_host_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/host_functions_test.cpp
    DEPS kirabi_script_host)
endif()
