# Windows half of the settings: the real INI and registry stores, REGW, the
# process-wide store and the language rule's platform reads.
kirabi_win_library(kirabi_settings_win
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/interface_language_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/registry_store_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ini_store_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_store_win.cpp
  DEPS kirabi_settings kirabi_ui_win advapi32 user32 kernel32)

# The settings sheet, its pages, the per-hour sound dialog and the combo-box
# histories.
kirabi_win_library(kirabi_settings_sheet_win
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/combo_history_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_sheet_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_general_page_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_memo_page_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_colors_page_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_format_page_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_hotkeys_page_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_fade_page_win.cpp
    ${CMAKE_CURRENT_LIST_DIR}/hourly_sounds_dialog_win.cpp
  DEPS kirabi_settings_win kirabi_ui_win kirabi_app comctl32 kirabi_delayed_comdlg32 shell32 user32 gdi32 advapi32)
