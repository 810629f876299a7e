# Build conventions shared by every folder.
#   portable libraries build natively and with MinGW;
#   Windows libraries and tests build only with MinGW and run under Wine.

set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)

if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(KIRABI_WINDOWS TRUE)
else()
  set(KIRABI_WINDOWS FALSE)
endif()

set(KIRABI_SOURCE_ROOT ${PROJECT_SOURCE_DIR})

option(KIRABI_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(KIRABI_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(KIRABI_WINDOWS)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00)
  # MinGW must see Boost but never the host's /usr/include: give it a folder
  # that holds nothing but a link to the Boost headers.
  set(KIRABI_MINGW_BOOST ${CMAKE_BINARY_DIR}/mingw-boost)
  if(NOT EXISTS ${KIRABI_MINGW_BOOST}/boost)
    file(MAKE_DIRECTORY ${KIRABI_MINGW_BOOST})
    file(CREATE_LINK /usr/include/boost ${KIRABI_MINGW_BOOST}/boost SYMBOLIC)
  endif()
  include_directories(SYSTEM ${KIRABI_MINGW_BOOST})
endif()

# GoogleTest from the Debian source package, built by each build for its own compiler.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
if(EXISTS /usr/src/googletest/CMakeLists.txt)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
  message(FATAL_ERROR "GoogleTest sources missing: run tools/setup")
endif()
foreach(gtest_target gtest gtest_main gmock gmock_main)
  target_compile_options(${gtest_target} PRIVATE -w)
endforeach()
include(GoogleTest)
enable_testing()

# Our own code builds clean of these; GoogleTest above is not ours to judge.
add_compile_options(-Wall -Wextra)

function(_kirabi_common_target name)
  target_include_directories(${name} PUBLIC ${KIRABI_SOURCE_ROOT}/src)
endfunction()

function(_kirabi_static_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  _kirabi_common_target(${name})
  if(ARG_DEPS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  endif()
endfunction()

# kirabi_portable_library(NAME SOURCES ... [DEPS ...])
function(kirabi_portable_library name)
  _kirabi_static_library(${name} ${ARGN})
endfunction()

# kirabi_win_library(NAME SOURCES ... [DEPS ...]) — MinGW build only.
function(kirabi_win_library name)
  if(NOT KIRABI_WINDOWS)
    message(FATAL_ERROR "kirabi_win_library(${name}) outside the Windows build")
  endif()
  _kirabi_static_library(${name} ${ARGN})
endfunction()

# kirabi_executable(NAME SOURCES ... [DEPS ...] [GUI])
function(kirabi_executable name)
  cmake_parse_arguments(ARG "GUI" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  _kirabi_common_target(${name})
  if(ARG_DEPS)
    target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  endif()
  if(ARG_GUI AND KIRABI_WINDOWS)
    target_link_options(${name} PRIVATE -mwindows -municode)
  elseif(KIRABI_WINDOWS)
    target_link_options(${name} PRIVATE -municode)
  endif()
endfunction()

# kirabi_test(NAME SOURCES ... [DEPS ...] [PROPERTIES ...]) — a GoogleTest program registered with CTest.
function(kirabi_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PROPERTIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  _kirabi_common_target(${name})
  target_include_directories(${name} PRIVATE ${KIRABI_SOURCE_ROOT}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gmock GTest::gtest_main)
  set(props)
  if(ARG_PROPERTIES)
    set(props PROPERTIES ${ARG_PROPERTIES})
  endif()
  # Discovery at test time: in the Windows build it must run under Wine,
  # which tools/with-wine provides only while the tests run.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 ${props})
endfunction()

# Adds every direct subfolder of the current folder that has a CMakeLists.txt.
function(kirabi_add_subfolders)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child ${children})
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# Libraries that only some features need (the notice pictures, the file and
# colour dialogs, processor figures, sounds, version texts) are loaded when a
# function of theirs is first called, not at start-up, which keeps them out of
# the resident program's memory until then. Each links through a delay-load
# library made from cmake/delayload/NAME.def, then through the ordinary import
# library, so a function missing from the .def still links (and loads its DLL
# at start again). Link `kirabi_delayed_NAME` instead of `NAME`.
if(KIRABI_WINDOWS)
  find_program(KIRABI_DLLTOOL NAMES x86_64-w64-mingw32-dlltool REQUIRED)
  set(_kirabi_delay_dir ${CMAKE_BINARY_DIR}/delayload)
  file(MAKE_DIRECTORY ${_kirabi_delay_dir})
  foreach(dll gdiplus comdlg32 pdh winmm version shlwapi)
    set(_def ${KIRABI_SOURCE_ROOT}/cmake/delayload/${dll}.def)
    set(_lib ${_kirabi_delay_dir}/lib${dll}_delay.a)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_def})
    execute_process(COMMAND ${KIRABI_DLLTOOL} --input-def ${_def} --dllname ${dll}.dll --output-delaylib ${_lib}
                    RESULT_VARIABLE _rc)
    if(NOT _rc EQUAL 0)
      message(FATAL_ERROR "dlltool could not make the delay-load library of ${dll}")
    endif()
    add_library(kirabi_delayed_${dll} STATIC IMPORTED GLOBAL)
    set_target_properties(kirabi_delayed_${dll} PROPERTIES IMPORTED_LOCATION ${_lib} INTERFACE_LINK_LIBRARIES ${dll})
  endforeach()
endif()
