# The Help dialogs and the tunes, end to end, with the real program. Included
# from this folder's CMakeLists.txt after its own cases.
# velmora_add_e2e_script_case(name driver driver-args...)
function(velmora_add_e2e_script_case name driver)
  add_test(NAME e2e.${name}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/${driver}
      --tree ${CMAKE_BINARY_DIR} --exe $<TARGET_FILE:velmora95> --probe $<TARGET_FILE:velmora_probe>
      --name ${name} ${ARGN})
  set_tests_properties(e2e.${name} PROPERTIES
    LABELS e2e
    RESOURCE_LOCK velmora_e2e_prefix
    TIMEOUT 240)
endfunction()

# Every dialog by menu, toolbar and F1, closed by OK, Enter and Esc, with our
# WinG beside the program; then the About box's line without any WinG.
velmora_add_e2e_script_case(dialogs.wing run_dialogs.py --wing ours --wing-dll $<TARGET_FILE:wing32>)
velmora_add_e2e_script_case(dialogs.no-wing run_dialogs.py --wing none --only-about)

# What the program plays, recorded from a null sink of a private PulseAudio
# (set-up installs it; without it the case fails). A tree built without the
# tunes has nothing to play.
if(VELMORA_RESOURCES_HAVE_TUNES)
  velmora_add_e2e_script_case(sound run_sound.py --tunes ${CMAKE_BINARY_DIR}/resources/tunes)
  # The case is judged by when each tune is heard, in real time: on a
  # loaded machine a key can take effect seconds late and the stretch
  # judged as tune 2 still holds tune 1. Nothing else runs beside it.
  set_tests_properties(e2e.sound PROPERTIES RUN_SERIAL TRUE)
endif()
