# The starfield view end to end: the display sizes chosen by their commands,
# the frame-rate pane and the run counter; once with the WinG library the
# prefix offers, once with none (where Window size is refused). Included
# from this folder's CMakeLists.txt after its own cases.
# Without WinG, the case runs beside another program's window that answers
# nothing: the program must not wait on it.
foreach(variant "view.1024x768;1024x768;" "view.no-wing.800x600;800x600;wing32=;--hung-window")
  list(GET variant 0 name)
  list(GET variant 1 size)
  list(GET variant 2 overrides)
  list(LENGTH variant n)
  set(extra)
  if(n GREATER 3)
    list(GET variant 3 extra)
  endif()
  add_test(NAME e2e.${name}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/view_e2e.py
      --tree ${CMAKE_BINARY_DIR} --exe $<TARGET_FILE:velmora95> --probe $<TARGET_FILE:velmora_probe>
      --name ${name} --size ${size} --dll-overrides=${overrides} ${extra})
  set_tests_properties(e2e.${name} PROPERTIES
    LABELS e2e
    RESOURCE_LOCK velmora_e2e_prefix
    TIMEOUT 240)
endforeach()

# The program at rest while its frame is minimised.
add_test(NAME e2e.minimised
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/minimised_e2e.py
    --tree ${CMAKE_BINARY_DIR} --exe $<TARGET_FILE:velmora95> --probe $<TARGET_FILE:velmora_probe>
    --name minimised --size 1024x768)
set_tests_properties(e2e.minimised PROPERTIES
  LABELS e2e
  RESOURCE_LOCK velmora_e2e_prefix
  TIMEOUT 240)
