kirabi_test(script_builtins_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/builtins_array_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/builtins_regex_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/builtins_text_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/convchar_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/format_test.cpp
  DEPS kirabi_script)
