# The pictures' text sources, shared by the resource build and the native
# asset tests.
set(VELMORA_PICTURES_DIR ${CMAKE_CURRENT_LIST_DIR})

# The toolbar's image strip, in strip order. Pictures 14 and 15 are the two
# icons' pictures.
set(VELMORA_TOOLBAR_PICTURES
  ${VELMORA_PICTURES_DIR}/toolbar/00-exit.txt
  ${VELMORA_PICTURES_DIR}/toolbar/01-normal-size.txt
  ${VELMORA_PICTURES_DIR}/toolbar/02-doubled-size.txt
  ${VELMORA_PICTURES_DIR}/toolbar/03-window-size.txt
  ${VELMORA_PICTURES_DIR}/toolbar/04-next-tune.txt
  ${VELMORA_PICTURES_DIR}/toolbar/05-tumble-dry.txt
  ${VELMORA_PICTURES_DIR}/toolbar/06-washing-machine.txt
  ${VELMORA_PICTURES_DIR}/toolbar/07-dirty-laundry.txt
  ${VELMORA_PICTURES_DIR}/toolbar/08-sparse.txt
  ${VELMORA_PICTURES_DIR}/toolbar/09-dense.txt
  ${VELMORA_PICTURES_DIR}/toolbar/10-crowded.txt
  ${VELMORA_PICTURES_DIR}/toolbar/11-feeling-good.txt
  ${VELMORA_PICTURES_DIR}/toolbar/12-uncomfortable.txt
  ${VELMORA_PICTURES_DIR}/toolbar/13-gut-wrenching.txt
  ${VELMORA_PICTURES_DIR}/icons/velmora.txt
  ${VELMORA_PICTURES_DIR}/icons/maker-logo.txt
  ${VELMORA_PICTURES_DIR}/toolbar/16-quick-help.txt)

# The icons: icon 2 (the program's) and icon 104 (the maker's logo).
set(VELMORA_ICON_PICTURES
  ${VELMORA_PICTURES_DIR}/icons/velmora.txt
  ${VELMORA_PICTURES_DIR}/icons/maker-logo.txt)

# velmora_generate_pictures(OUT_DIR TOOLS_DIR OUTPUTS_VAR): custom commands
# that write velmora.bmp, toolbar.bmp, velmora.ico and maker-logo.ico into
# OUT_DIR with the generators found in TOOLS_DIR (a folder path, or empty to
# use the host tree's own tool targets). OUTPUTS_VAR receives the files.
function(velmora_generate_pictures out tools outputs_var)
  if(tools)
    set(bitmap_tool ${tools}/velmora_make_bitmap)
    set(toolbar_tool ${tools}/velmora_make_toolbar)
    set(icon_tool ${tools}/velmora_make_icon)
  else()
    set(bitmap_tool velmora_make_bitmap)
    set(toolbar_tool velmora_make_toolbar)
    set(icon_tool velmora_make_icon)
  endif()
  add_custom_command(OUTPUT ${out}/velmora.bmp
    COMMAND ${bitmap_tool} ${out}/velmora.bmp
    DEPENDS ${bitmap_tool}
    COMMENT "Generating the VELMORA bitmap" VERBATIM)
  add_custom_command(OUTPUT ${out}/toolbar.bmp
    COMMAND ${toolbar_tool} ${out}/toolbar.bmp ${VELMORA_TOOLBAR_PICTURES}
    DEPENDS ${toolbar_tool} ${VELMORA_TOOLBAR_PICTURES}
    COMMENT "Generating the toolbar strip" VERBATIM)
  set(files ${out}/velmora.bmp ${out}/toolbar.bmp)
  foreach(picture IN LISTS VELMORA_ICON_PICTURES)
    get_filename_component(name ${picture} NAME_WE)
    add_custom_command(OUTPUT ${out}/${name}.ico
      COMMAND ${icon_tool} ${picture} ${out}/${name}.ico
      DEPENDS ${icon_tool} ${picture}
      COMMENT "Generating icon ${name}" VERBATIM)
    list(APPEND files ${out}/${name}.ico)
  endforeach()
  set(${outputs_var} ${files} PARENT_SCOPE)
endfunction()
