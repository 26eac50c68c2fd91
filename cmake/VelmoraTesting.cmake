# Test registration. Every test program is one CTest entry (a Wine start
# costs a fraction of a second, so test cases are not registered one by one).

set(VELMORA_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources (Debian's googletest package)")

macro(velmora_add_googletest)
  if(NOT TARGET gtest_main)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    add_subdirectory(${VELMORA_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  endif()
endmacro()

if(WIN32)
  # CTest runs Windows test programs through Wine (prefix per build tree and
  # screen; the display comes from the test command).
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh ${CMAKE_BINARY_DIR})
endif()

# velmora_add_win32_test(name SOURCES ... [LIBS ...] [SCREENS 24 8] [ENV k=v ...]
#                        [TIMEOUT s] [NO_GTEST_MAIN])
# Builds a Win32 GoogleTest program and registers it once per screen depth:
# name.24bpp runs on the 24-bit Xvfb screen, name.8bpp on the 8-bit
# PseudoColor one. Sources may include .rc scripts.
function(velmora_add_win32_test name)
  cmake_parse_arguments(T "NO_GTEST_MAIN" "TIMEOUT" "SOURCES;LIBS;SCREENS;ENV" ${ARGN})
  if(NOT T_SCREENS)
    set(T_SCREENS 24)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS})
  if(T_NO_GTEST_MAIN)
    target_link_libraries(${name} PRIVATE gtest)
  else()
    target_link_libraries(${name} PRIVATE gtest_main)
  endif()
  foreach(screen IN LISTS T_SCREENS)
    add_test(NAME ${name}.${screen}bpp COMMAND ${name})
    set_tests_properties(${name}.${screen}bpp PROPERTIES
      ENVIRONMENT "VELMORA_SCREEN=${screen};${T_ENV}"
      TIMEOUT ${T_TIMEOUT}
      LABELS win32)
    # The programs of one screen share one Wine virtual desktop (windows
    # come and go fast there, unlike on a bare X screen), and with it the
    # foreground window and the keyboard: they take turns, while the
    # programs of the other screen run beside them. On the 8-bit screen
    # they also share the one system palette.
    set_tests_properties(${name}.${screen}bpp PROPERTIES RESOURCE_LOCK velmora_screen${screen})
  endforeach()
endfunction()

# velmora_add_native_test(name SOURCES ... [LIBS ...]): a host GoogleTest
# program built with ASan and UBSan.
function(velmora_add_native_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gtest_main)
  velmora_sanitize(${name})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS native)
endfunction()
