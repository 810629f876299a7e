# Display cycle (line stacking over a fake canvas) and placement/fading.
kirabi_test(display_cycle_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/display_cycle_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/placement_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dpi_scale_test.cpp
  DEPS kirabi_display kirabi_display_format kirabi_settings
)
kirabi_test(display_cycle_alloc_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/display_cycle_alloc_test.cpp ${CMAKE_CURRENT_LIST_DIR}/allocation_counter.cpp
  DEPS kirabi_display kirabi_display_format kirabi_settings
)
