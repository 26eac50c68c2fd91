# The release: velmora95-<version>-win32.zip from the i686 tree and
# velmora95-<version>-win64.zip from the x86_64 tree, each holding the
# program, the screen saver, its own WING32.DLL beside them, a read-me for
# Windows users that says which zip suits whom, and LICENSE.TXT. `cpack` in
# a Windows tree makes its zip (scripts/package.sh); in the i686 tree also
# the one Debian package, which carries both builds (VelmoraDebian.cmake).

if(NOT (TARGET velmora95 AND TARGET velmora95_saver AND TARGET wing32))
  return()
endif()

# The two Windows trees (scripts/build.sh sets both in each): the Debian
# package takes the x86_64 tree's files too, and its test runs from
# whichever tree's programs Wine starts here.
set(VELMORA_WIN32_TREE "" CACHE PATH "The i686 build tree")
set(VELMORA_WIN64_TREE "" CACHE PATH "The x86_64 build tree")

# What the zip ships. Each of them links the run-time libraries that keep
# Windows XP able to load it (velmora_release_runtime, VelmoraCommon.cmake).
set(VELMORA_RELEASE_TARGETS velmora95 velmora95_saver wing32)
foreach(target IN LISTS VELMORA_RELEASE_TARGETS)
  velmora_release_runtime(${target})
  # No link time in the header: stripping for the release stamps the
  # release's own (VelmoraCPackOptions.cmake.in).
  target_link_options(${target} PRIVATE -Wl,--no-insert-timestamp)
endforeach()
install(TARGETS ${VELMORA_RELEASE_TARGETS} RUNTIME DESTINATION .)

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(VELMORA_PACKAGE_SYSTEM win32)
  set(VELMORA_README_BUILD 32-bit)
  set(VELMORA_README_MINIMUM "Windows XP or later (32 or 64-bit)")
  # The oldest Windows that minimum names: what its DLLs provide.
  set(velmora_oldest_windows ${PROJECT_SOURCE_DIR}/tests/release/winxp-exports)
else()
  set(VELMORA_PACKAGE_SYSTEM win64)
  set(VELMORA_README_BUILD 64-bit)
  set(VELMORA_README_MINIMUM "Windows XP Professional x64 Edition or later (64-bit only)")
  set(velmora_oldest_windows ${PROJECT_SOURCE_DIR}/tests/release/winxp-x64-exports)
endif()

# The read-me carries the version and Windows line ends; LICENSE.TXT our
# licence and the notices of the run-time code linked in.
configure_file(${PROJECT_SOURCE_DIR}/docs/README-Windows.txt.in
  ${CMAKE_BINARY_DIR}/generated/README.TXT @ONLY NEWLINE_STYLE CRLF)
include(VelmoraLicense)
velmora_write_license_txt(${CMAKE_BINARY_DIR}/generated/LICENSE.TXT)
install(FILES ${CMAKE_BINARY_DIR}/generated/README.TXT ${CMAKE_BINARY_DIR}/generated/LICENSE.TXT DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME velmora95)
set(CPACK_PACKAGE_VENDOR "QUARVELL, Inc.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME velmora95-${PROJECT_VERSION}-${VELMORA_PACKAGE_SYSTEM})
# Unpacking gives one folder of the same name with the files in it.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
# Symbols stay in the build tree; the release carries stripped files.
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/release)
set(CPACK_OUTPUT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackConfig.cmake)
set(VELMORA_DEB OFF)
if(VELMORA_PACKAGE_SYSTEM STREQUAL win32)
  include(VelmoraDebian)
endif()
# Read by cpack for each package: the time stamp of the release, and the
# Debian package's own settings.
configure_file(${PROJECT_SOURCE_DIR}/cmake/VelmoraCPackOptions.cmake.in ${CMAKE_BINARY_DIR}/VelmoraCPackOptions.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/VelmoraCPackOptions.cmake)
include(CPack)

add_test(NAME release.zip
  COMMAND ${CMAKE_COMMAND} -DTREE=${CMAKE_BINARY_DIR} -DVERSION=${PROJECT_VERSION} -DSYSTEM=${VELMORA_PACKAGE_SYSTEM}
    -DSOURCE=${PROJECT_SOURCE_DIR} -P ${PROJECT_SOURCE_DIR}/tests/release/check_zip.cmake)
# (Each cpack run first brings the tree up to date: one at a time.)
set_tests_properties(release.zip PROPERTIES LABELS release TIMEOUT 180 RESOURCE_LOCK velmora_cpack)

# Every program in the zip imports only what the oldest Windows its
# read-me names provides.
add_test(NAME release.imports
  COMMAND ${CMAKE_COMMAND} -DTREE=${CMAKE_BINARY_DIR} -DOBJDUMP=${CMAKE_OBJDUMP}
    -DLISTS=${velmora_oldest_windows} -P ${PROJECT_SOURCE_DIR}/tests/release/check_imports.cmake)
set_tests_properties(release.imports PROPERTIES LABELS release TIMEOUT 120 RESOURCE_LOCK velmora_cpack)

# The Debian package, made from both trees in the i686 one, installed and
# run through its launcher with this tree's probe. Labelled e2e like the
# other cases that start Wine, so it runs from the tree whose programs this
# machine's Wine starts (scripts/test.sh).
if(TARGET velmora_probe AND VELMORA_WIN32_TREE AND VELMORA_WIN64_TREE)
  find_package(Python3 COMPONENTS Interpreter REQUIRED)
  add_test(NAME release.deb
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/release/deb_e2e.py --tree ${CMAKE_BINARY_DIR}
      --win32-tree ${VELMORA_WIN32_TREE} --win64-tree ${VELMORA_WIN64_TREE}
      --version ${PROJECT_VERSION} --probe $<TARGET_FILE:velmora_probe> --cpack ${CMAKE_CPACK_COMMAND})
  set_tests_properties(release.deb PROPERTIES LABELS "release;e2e" RESOURCE_LOCK "velmora_dpkg;velmora_cpack"
    TIMEOUT 900)
endif()
