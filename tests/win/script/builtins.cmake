# The built-in tests are portable; run them under Wine too, where wchar_t
# has 16 bits and the regular expressions see surrogate pairs.
set(_builtins_tests ${KIRABI_SOURCE_ROOT}/tests/native/script)
kirabi_test(script_builtins_win_test
  SOURCES
    ${_builtins_tests}/builtins_array_test.cpp
    ${_builtins_tests}/builtins_text_test.cpp
    ${_builtins_tests}/convchar_test.cpp
    ${_builtins_tests}/format_test.cpp
  DEPS kirabi_script)
target_include_directories(script_builtins_win_test PRIVATE ${_builtins_tests})
