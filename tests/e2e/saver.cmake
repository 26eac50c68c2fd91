# The screen saver end to end: full screen with our WinG (and a short run
# without WinG), the preview inside a window of the probe's, and the settings
# dialog with the choices it saves and the bad command lines. Included from
# this folder's CMakeLists.txt.
if(NOT TARGET velmora95_saver OR NOT TARGET velmora95_saver_testbuild OR NOT TARGET wing32)
  return()
endif()

# velmora_add_saver_case(name saver-target driver-args...)
function(velmora_add_saver_case name saver)
  add_test(NAME e2e.saver.${name}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/saver_e2e.py
      --tree ${CMAKE_BINARY_DIR} --saver $<TARGET_FILE:${saver}> --probe $<TARGET_FILE:velmora_probe>
      --name saver.${name} ${ARGN})
  set_tests_properties(e2e.saver.${name} PROPERTIES
    LABELS e2e
    RESOURCE_LOCK velmora_e2e_prefix
    TIMEOUT 240)
endfunction()

# Beside another program's window that answers nothing, which the saver
# must not wait on.
velmora_add_saver_case(full-screen velmora95_saver --case full-screen --wing-dll $<TARGET_FILE:wing32> --dll-overrides wing32=n
  --hung-window)
velmora_add_saver_case(full-screen.no-wing velmora95_saver --case full-screen --short --dll-overrides wing32=)
# The preview's picture is read from the test build's copy of it.
velmora_add_saver_case(preview velmora95_saver_testbuild --case preview --wing-dll $<TARGET_FILE:wing32> --dll-overrides wing32=n)
velmora_add_saver_case(settings velmora95_saver --case settings --wing-dll $<TARGET_FILE:wing32> --dll-overrides wing32=n)
