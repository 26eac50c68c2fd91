# The Debian package beside the i686 zip: velmora95_<version>_all.deb holds
# both Windows builds, the i686 tree's zip files under
# /usr/lib/velmora95/win32 and the x86_64 tree's under
# /usr/lib/velmora95/win64, and, for Linux desktops, the velmora95 command
# that runs one of them under Wine (the i686 build where the machine's Wine
# starts 32-bit programs, else the x86_64 one), a desktop entry with the
# program's icon as PNG files, a manual page, the copyright file and a
# changelog. `cpack` in the i686 tree makes it together with the zip; it is
# made nowhere else, so it is the same package whichever machine makes it.
#
# The Linux files are the "debian" install component, left out of a plain
# install and of the zip; the per-generator options file puts every other
# component of each tree, whatever its zip carries, under its folder.

if(NOT VELMORA_WIN64_TREE)
  message(STATUS "No Debian package: VELMORA_WIN64_TREE (the x86_64 tree, whose files it carries) is not set")
  return()
endif()
set(VELMORA_DEB ON)

find_program(VELMORA_GZIP gzip REQUIRED)
include(${PROJECT_SOURCE_DIR}/resources/pictures/Pictures.cmake)
set(deb_in ${PROJECT_SOURCE_DIR}/cmake/debian)
set(deb_out ${CMAKE_BINARY_DIR}/debian)

# The icon at the sizes desktops ask for, scaled without smoothing.
set(deb_files)
foreach(size 16 24 32 48 64 128)
  set(png ${deb_out}/icons/${size}x${size}/velmora95.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${deb_out}/icons/${size}x${size}
    COMMAND ${VELMORA_HOST_BIN}/velmora_make_icon_png ${VELMORA_PICTURES_DIR}/icons/velmora.txt ${size} ${png}
    DEPENDS ${VELMORA_HOST_BIN}/velmora_make_icon_png ${VELMORA_PICTURES_DIR}/icons/velmora.txt
    COMMENT "Generating the ${size}x${size} desktop icon" VERBATIM)
  list(APPEND deb_files ${png})
  install(FILES ${png} DESTINATION share/icons/hicolor/${size}x${size}/apps COMPONENT debian EXCLUDE_FROM_ALL)
endforeach()

# The maintainer of the package and signer of its changelog (no comma in
# the name: Debian's contact fields list people by commas).
set(VELMORA_DEB_MAINTAINER "QUARVELL Inc. <info@quarvell.example>")

# The manual page, compressed as Debian keeps it (no name or time stamp in
# the gzip header, so the same input gives the same file). The changelog,
# which carries the release's date, is made when the package is
# (VelmoraDebianFiles.cmake).
configure_file(${PROJECT_SOURCE_DIR}/docs/velmora95.6.in ${deb_out}/velmora95.6 @ONLY)
include(VelmoraLicense)
velmora_write_debian_copyright(${deb_in}/copyright.in ${deb_out}/copyright)
foreach(file velmora95.6)
  add_custom_command(OUTPUT ${deb_out}/${file}.gz
    COMMAND ${VELMORA_GZIP} -9nkf ${deb_out}/${file}
    COMMAND ${CMAKE_COMMAND} -E touch_nocreate ${deb_out}/${file}.gz
    DEPENDS ${deb_out}/${file}
    COMMENT "Compressing ${file}" VERBATIM)
  list(APPEND deb_files ${deb_out}/${file}.gz)
endforeach()
add_custom_target(velmora_debian_files ALL DEPENDS ${deb_files})

install(PROGRAMS ${deb_in}/velmora95 DESTINATION bin COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES ${deb_in}/velmora95.desktop DESTINATION share/applications COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES ${deb_out}/velmora95.6.gz DESTINATION share/man/man6 COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES ${deb_out}/copyright DESTINATION share/doc/velmora95 COMPONENT debian EXCLUDE_FROM_ALL)

list(APPEND CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_PACKAGE_NAME velmora95)
set(CPACK_DEBIAN_FILE_NAME velmora95_${PROJECT_VERSION}_all.deb)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE all)
# Only what running needs: Wine, whichever of its loaders it has. Wine's
# fonts draw the windows' caption buttons.
set(CPACK_DEBIAN_PACKAGE_DEPENDS wine)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-wine)
# (Not "games": that section wants its programs in /usr/games.)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VELMORA_DEB_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "real-time 3D starfield demo for Windows, run under Wine
Velmora 95 flies you through a cloud of stars in real time: a
Windows program with a menu, a toolbar and a status bar that shows the
frame rate. Choose one of three camera motions, three star populations and
three nausea levels, and play one of three looping tunes.
.
The velmora95 command runs it under Wine, in a Wine prefix of its own: the
32-bit build where Wine runs 32-bit programs, else the 64-bit build.")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

# The velmora95 command's choices (build, prefix, settings, refusals,
# simultaneous starts) against stand-ins for Wine's loaders.
find_package(Python3 COMPONENTS Interpreter REQUIRED)
add_test(NAME release.launcher
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/release/launcher_test.py --launcher ${deb_in}/velmora95)
set_tests_properties(release.launcher PROPERTIES LABELS release TIMEOUT 120)
