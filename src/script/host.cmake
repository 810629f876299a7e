# The host side of the engine: the CB. function table, FormatCPUToString's
# own figures and the memo-script polling rule (portable; the program and
# qvs both use them).
if(TARGET kirabi_display_format)
  kirabi_portable_library(kirabi_script_host
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/host_functions.cpp
      ${CMAKE_CURRENT_LIST_DIR}/script_host.cpp
    DEPS kirabi_script kirabi_display_format)
endif()
