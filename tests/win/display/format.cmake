# The Windows side of the patterns: sampler figures, clock, sounds, flash window.
kirabi_test(display_format_win_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/format_win_test.cpp
  DEPS kirabi_display_format_win kirabi_display_format
)
