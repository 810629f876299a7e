# Language core: values, constants, lexer, parser, evaluation, entry point.
kirabi_test(script_core_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/core_harness.cpp
    ${CMAKE_CURRENT_LIST_DIR}/value_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/lexer_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/parser_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/evaluation_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/fast_path_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/entry_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/memory_budget_test.cpp
  DEPS kirabi_script)
