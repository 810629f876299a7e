list(APPEND KIRABI_SCRIPT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/builtins_array.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtins_regex.cpp
  ${CMAKE_CURRENT_LIST_DIR}/builtins_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/convchar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/format.cpp
)
