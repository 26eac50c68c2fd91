# Makes the release zip into a scratch folder and checks what a Windows user
# unpacks: one folder named after the zip holding exactly the program, the
# screen saver, our WING32.DLL and README.TXT; the read-me with Windows line
# ends and the version; the binaries stamped with the version (the screen
# saver also with its description).
#   cmake -DTREE=<windows build tree> -DVERSION=<x.y.z> -DSYSTEM=win32 -P check_zip.cmake

include(${CMAKE_CURRENT_LIST_DIR}/unpack_zip.cmake)
set(work ${TREE}/tests/release-check)
velmora_unpack_release_zip(${TREE} ${work})
set(name velmora95-${VERSION}-${SYSTEM})
get_filename_component(made ${RELEASE_ZIP} NAME)
if(NOT made STREQUAL "${name}.zip")
  message(FATAL_ERROR "expected ${name}.zip, cpack made: ${made}")
endif()

file(GLOB_RECURSE files RELATIVE ${work}/unpacked ${work}/unpacked/*)
list(SORT files)
set(want ${name}/README.TXT ${name}/WING32.DLL ${name}/velmora95.exe ${name}/velmora95.scr)
if(NOT files STREQUAL want)
  message(FATAL_ERROR "the zip holds:\n  ${files}\nexpected:\n  ${want}")
endif()

# (Read as hex: CMake's text reading drops carriage returns.)
file(READ ${work}/unpacked/${name}/README.TXT readme HEX)
string(HEX "Velmora 95 ${VERSION}" title)
string(FIND "${readme}" "${title}0d0a" at)
if(NOT at EQUAL 0)
  message(FATAL_ERROR "README.TXT does not start with the name and version on a CRLF line")
endif()
# Every line feed follows a carriage return (hex pairs, so match on pairs).
string(REGEX MATCHALL "(..)" pairs "${readme}")
set(previous "")
foreach(pair IN LISTS pairs)
  if(pair STREQUAL "0a" AND NOT previous STREQUAL "0d")
    message(FATAL_ERROR "README.TXT has a line end without CR")
  endif()
  set(previous ${pair})
endforeach()

# The version resource and the About box's notice are UTF-16 in the binary.
function(expect_utf16 file text)
  file(READ ${file} hex HEX)
  string(HEX "${text}" plain)
  string(REGEX REPLACE "(..)" "\\100" wide "${plain}")
  string(FIND "${hex}" "${wide}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${file} does not carry \"${text}\"")
  endif()
endfunction()
expect_utf16(${work}/unpacked/${name}/velmora95.exe "Version ${VERSION} - starfield demo")
expect_utf16(${work}/unpacked/${name}/velmora95.exe "${VERSION}.0")
expect_utf16(${work}/unpacked/${name}/WING32.DLL "${VERSION}.0")
expect_utf16(${work}/unpacked/${name}/velmora95.scr "${VERSION}.0")
expect_utf16(${work}/unpacked/${name}/velmora95.scr "Velmora 95 screen saver")

file(REMOVE_RECURSE ${work})
message(STATUS "${name}.zip: ${files}")
