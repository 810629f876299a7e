# Clock and system-information patterns, the system sampler, and the alarm,
# chime, flash and drive-warning bookkeeping.
kirabi_portable_library(kirabi_display_format
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/clock_format.cpp
    ${CMAKE_CURRENT_LIST_DIR}/system_format.cpp
    ${CMAKE_CURRENT_LIST_DIR}/system_sampler.cpp
    ${CMAKE_CURRENT_LIST_DIR}/alarm.cpp
)

if(KIRABI_WINDOWS)
  kirabi_win_library(kirabi_display_format_win
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/clock_format_win.cpp
      ${CMAKE_CURRENT_LIST_DIR}/system_sampler_win.cpp
      ${CMAKE_CURRENT_LIST_DIR}/alarm_win.cpp
      ${CMAKE_CURRENT_LIST_DIR}/flash_window_win.cpp
    DEPS kirabi_display_format kirabi_delayed_pdh kirabi_delayed_winmm imm32 user32 gdi32
  )
endif()
