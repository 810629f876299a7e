# The display cycle (line stacking over a canvas), placement and fading, and
# on Windows the GDI canvas and the two overlay windows.
set(_kirabi_display_deps kirabi_display_format)
if(TARGET kirabi_settings)
  list(APPEND _kirabi_display_deps kirabi_settings)
endif()
kirabi_portable_library(kirabi_display
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/display_cycle.cpp
    ${CMAKE_CURRENT_LIST_DIR}/placement.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dpi_scale.cpp
  DEPS ${_kirabi_display_deps}
)

if(KIRABI_WINDOWS)
  set(_kirabi_display_win_sources)
  foreach(src gdi_canvas_win.cpp overlay_window_win.cpp display_cycle_win.cpp monitor_dpi_win.cpp)
    if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/${src})
      list(APPEND _kirabi_display_win_sources ${CMAKE_CURRENT_LIST_DIR}/${src})
    endif()
  endforeach()
  if(_kirabi_display_win_sources)
    kirabi_win_library(kirabi_display_win
      SOURCES ${_kirabi_display_win_sources}
      DEPS kirabi_display kirabi_display_format_win kirabi_ui_win imm32 user32 gdi32
    )
  endif()
endif()
