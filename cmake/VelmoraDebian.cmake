# The Debian package beside the zip: velmora95_<version>_all.deb holds the
# zip's files under /usr/lib/velmora95 and, for Linux desktops, the
# velmora95 command that runs them under Wine, a desktop entry with the
# program's icon as PNG files, a manual page, the copyright file and a
# changelog. `cpack` in the i686 tree makes it together with the zip; the
# x86_64 tree makes one only when asked (-DVELMORA_DEB=ON), for machines that
# cannot run 32-bit programs.
#
# The Linux files are the "debian" install component, left out of a plain
# install and of the zip; the per-generator options file puts every other
# component, whatever the zip carries, under /usr/lib/velmora95.

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(velmora_deb_default ON)
  set(velmora_deb_wine wine32)
else()
  set(velmora_deb_default OFF)
  set(velmora_deb_wine wine64)
endif()
option(VELMORA_DEB "Make the Debian package beside the release zip" ${velmora_deb_default})
if(NOT VELMORA_DEB)
  return()
endif()

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

# The manual page and the changelog, compressed as Debian keeps them (no
# name or time stamp in the gzip header, so the same input gives the same file).
string(TIMESTAMP VELMORA_CHANGELOG_DATE "%a, %d %b %Y 00:00:00 +0000" UTC)
configure_file(${PROJECT_SOURCE_DIR}/docs/velmora95.6.in ${deb_out}/velmora95.6 @ONLY)
configure_file(${deb_in}/changelog.in ${deb_out}/changelog @ONLY)
foreach(file velmora95.6 changelog)
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
install(FILES ${deb_in}/copyright ${deb_out}/changelog.gz DESTINATION share/doc/velmora95
  COMPONENT debian EXCLUDE_FROM_ALL)

list(APPEND CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_PACKAGE_NAME velmora95)
set(CPACK_DEBIAN_FILE_NAME velmora95_${PROJECT_VERSION}_all.deb)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE all)
# Only what running needs: Wine with the loader for the program's word size.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "wine, ${velmora_deb_wine}")
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
The velmora95 command runs it under Wine, in a Wine prefix of its own.")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
configure_file(${PROJECT_SOURCE_DIR}/cmake/VelmoraCPackOptions.cmake.in ${CMAKE_BINARY_DIR}/VelmoraCPackOptions.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/VelmoraCPackOptions.cmake)

# Made, checked with lintian, installed, run and removed again. Installing
# needs root and the dpkg lock: no two such cases at once, and none beside
# the zip's check, which runs cpack in the same tree.
if(TARGET velmora_probe)
  find_package(Python3 COMPONENTS Interpreter REQUIRED)
  add_test(NAME release.deb
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/release/deb_e2e.py --tree ${CMAKE_BINARY_DIR}
      --version ${PROJECT_VERSION} --depends "wine, ${velmora_deb_wine}" --probe $<TARGET_FILE:velmora_probe>
      --cpack ${CMAKE_CPACK_COMMAND})
  set_tests_properties(release.deb PROPERTIES LABELS "release;e2e" RESOURCE_LOCK "velmora_dpkg;velmora_cpack"
    TIMEOUT 900)
endif()
