# qvs, the command-line runner (qvs.exe in the Windows build, console
# subsystem), and the Win32 system layer of the script engine.
find_package(Threads REQUIRED)
kirabi_executable(qvs SOURCES ${CMAKE_CURRENT_LIST_DIR}/qvs_main.cpp ${CMAKE_CURRENT_LIST_DIR}/qvs_thread_posix.cpp
  DEPS kirabi_script Threads::Threads)
# qvs answers CB. calls through the program's own host-function table.
target_link_libraries(qvs PRIVATE kirabi_script_host)
if(KIRABI_WINDOWS)
  kirabi_win_library(kirabi_script_win
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/win32_system_win.cpp
    DEPS kirabi_script imm32)
endif()
# Most of an empty script's start-up was the dynamic linker resolving the C++
# library's symbols; linking it in keeps a short memo script's run short.
if(NOT KIRABI_WINDOWS AND NOT KIRABI_SANITIZE)
  target_link_options(qvs PRIVATE -static-libstdc++ -static-libgcc)
endif()
