# Windows half of the settings: the real INI and registry stores, REGW, the
# process-wide store and the language rule's platform reads.
kirabi_win_library(kirabi_settings_win
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/interface_language_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/registry_store_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ini_store_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_store_win.cpp
  DEPS kirabi_settings kirabi_ui_win advapi32 user32 kernel32)
