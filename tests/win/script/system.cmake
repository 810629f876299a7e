# The Win32 system of the script engine under Wine.
if(TARGET kirabi_script_win)
  kirabi_test(script_system_win_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/win32_system_win_test.cpp
    DEPS kirabi_script_win kirabi_script)
endif()
