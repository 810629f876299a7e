# System built-ins through a recording system, and the console host of qvs.
kirabi_test(script_system_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/builtins_system_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/console_system_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/system_test_support.cpp
  DEPS kirabi_script kirabi_script_host)
