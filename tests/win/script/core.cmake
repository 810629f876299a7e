# The constant table against the platform headers.
kirabi_test(script_constant_table_win_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/constant_table_win_test.cpp
  DEPS kirabi_script)
