# System built-ins and the console system of qvs (portable).
list(APPEND KIRABI_SCRIPT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/builtins_system.cpp
  ${CMAKE_CURRENT_LIST_DIR}/console_system.cpp)
