# The release: velmora95-<version>-win32.zip (win64 for the x86_64 tree)
# holding the program, the screen saver, our WING32.DLL beside them and a
# read-me for Windows users. `cpack` in a Windows tree makes it
# (scripts/package.sh), and in the i686 tree also the Debian package of the
# same files (VelmoraDebian.cmake).

if(NOT (TARGET velmora95 AND TARGET velmora95_saver AND TARGET wing32))
  return()
endif()

# What the zip ships. Each of them links the run-time libraries that keep
# Windows XP able to load it (velmora_release_runtime, VelmoraCommon.cmake).
set(VELMORA_RELEASE_TARGETS velmora95 velmora95_saver wing32)
foreach(target IN LISTS VELMORA_RELEASE_TARGETS)
  velmora_release_runtime(${target})
endforeach()
install(TARGETS ${VELMORA_RELEASE_TARGETS} RUNTIME DESTINATION .)

# The read-me carries the version and Windows line ends.
configure_file(${PROJECT_SOURCE_DIR}/docs/README-Windows.txt.in
  ${CMAKE_BINARY_DIR}/generated/README.TXT @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/generated/README.TXT DESTINATION .)

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(VELMORA_PACKAGE_SYSTEM win32)
else()
  set(VELMORA_PACKAGE_SYSTEM win64)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME velmora95)
set(CPACK_PACKAGE_VENDOR "QUARVELL, Inc.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME velmora95-${PROJECT_VERSION}-${VELMORA_PACKAGE_SYSTEM})
# Unpacking gives one folder of the same name with the four files in it.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
# Symbols stay in the build tree; the release carries stripped files.
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/release)
set(CPACK_OUTPUT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackConfig.cmake)
include(VelmoraDebian)
include(CPack)

add_test(NAME release.zip
  COMMAND ${CMAKE_COMMAND} -DTREE=${CMAKE_BINARY_DIR} -DVERSION=${PROJECT_VERSION} -DSYSTEM=${VELMORA_PACKAGE_SYSTEM}
    -P ${PROJECT_SOURCE_DIR}/tests/release/check_zip.cmake)
# (Each cpack run first brings the tree up to date: one at a time.)
set_tests_properties(release.zip PROPERTIES LABELS release TIMEOUT 120 RESOURCE_LOCK velmora_cpack)

if(VELMORA_PACKAGE_SYSTEM STREQUAL win32)
  # Every program in the zip imports only what Windows XP provides.
  add_test(NAME release.imports
    COMMAND ${CMAKE_COMMAND} -DTREE=${CMAKE_BINARY_DIR} -DOBJDUMP=${CMAKE_OBJDUMP}
      -DLISTS=${PROJECT_SOURCE_DIR}/tests/release/winxp-exports -P ${PROJECT_SOURCE_DIR}/tests/release/check_imports.cmake)
  set_tests_properties(release.imports PROPERTIES LABELS release TIMEOUT 120 RESOURCE_LOCK velmora_cpack)
endif()
