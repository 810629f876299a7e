# The display cycle painting through GDI, the overlay windows, placement and
# fading on the real platform (under Wine).
kirabi_test(display_cycle_win_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/overlay_win_test.cpp
  DEPS kirabi_display_win kirabi_display kirabi_display_format_win kirabi_display_format kirabi_settings
)
