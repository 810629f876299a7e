# Patterns, sampler and alarm machine.
kirabi_test(display_format_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/clock_format_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/system_format_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/system_sampler_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/alarm_test.cpp
  DEPS kirabi_display_format kirabi_common
)
# Its own program: it replaces the global operator new to count allocations.
kirabi_test(display_format_alloc_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/format_alloc_test.cpp ${CMAKE_CURRENT_LIST_DIR}/allocation_counter.cpp
  DEPS kirabi_display_format kirabi_common
)
