# The constant table against the platform headers, and deep scripts on a
# default-sized thread stack.
kirabi_test(script_constant_table_win_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/constant_table_win_test.cpp
  DEPS kirabi_script)
kirabi_test(script_stack_win_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/qv_script_stack_win_test.cpp
  DEPS kirabi_script)
