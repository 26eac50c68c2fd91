# Makes the release zip into a scratch folder and checks what a Windows user
# unpacks: one folder named after the zip holding exactly the program, the
# screen saver, our WING32.DLL, README.TXT and LICENSE.TXT; the read-me and
# the licence with Windows line ends, the read-me with the version and the
# names of both zips, the licence with ours first; the binaries stamped with
# the version (the screen saver also with its description). Then makes the
# zip again a second later, into a folder whose path has a space: the bytes
# must be the same, and no file may hold the path of the sources or of the
# build tree.
#   cmake -DTREE=<windows build tree> -DVERSION=<x.y.z> -DSYSTEM=win32 -DSOURCE=<source dir> -P check_zip.cmake

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
set(want ${name}/LICENSE.TXT ${name}/README.TXT ${name}/WING32.DLL ${name}/velmora95.exe ${name}/velmora95.scr)
if(NOT files STREQUAL want)
  message(FATAL_ERROR "the zip holds:\n  ${files}\nexpected:\n  ${want}")
endif()

# (Read as hex: CMake's text reading drops carriage returns.)
function(expect_text file first)
  file(READ ${file} hex HEX)
  string(HEX "${first}" start)
  string(FIND "${hex}" "${start}0d0a" at)
  if(NOT at EQUAL 0)
    message(FATAL_ERROR "${file} does not start with \"${first}\" on a CRLF line")
  endif()
  # Every line feed follows a carriage return (hex pairs, so match on pairs).
  string(REGEX MATCHALL "(..)" pairs "${hex}")
  set(previous "")
  foreach(pair IN LISTS pairs)
    if(pair STREQUAL "0a" AND NOT previous STREQUAL "0d")
      message(FATAL_ERROR "${file} has a line end without CR")
    endif()
    set(previous ${pair})
  endforeach()
  file(READ ${file} text)
  foreach(needle IN LISTS ARGN)
    string(FIND "${text}" "${needle}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "${file} does not say \"${needle}\"")
    endif()
  endforeach()
endfunction()
expect_text(${work}/unpacked/${name}/README.TXT "Velmora 95 ${VERSION}"
  velmora95-${VERSION}-win32.zip velmora95-${VERSION}-win64.zip LICENSE.TXT)
expect_text(${work}/unpacked/${name}/LICENSE.TXT "MIT License" "Copyright (c) 2026 the Velmora 95 authors"
  "GCC Runtime Library Exception" "Zope Public License")

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

# The same bytes from another folder at another time; nothing of where
# the sources and the tree are.
execute_process(COMMAND ${CMAKE_COMMAND} -E sleep 1)
execute_process(COMMAND ${CMAKE_CPACK_COMMAND} --config ${TREE}/CPackConfig.cmake -G ZIP -B "${work}/second run"
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cpack failed in a folder with a space:\n${out}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${RELEASE_ZIP} "${work}/second run/${name}.zip"
  RESULT_VARIABLE differ)
if(differ)
  message(FATAL_ERROR "the zip made again a second later in another folder differs from the first")
endif()
foreach(file IN LISTS files)
  foreach(path ${SOURCE} ${TREE})
    string(REGEX REPLACE "([][+.*()^$?|\\])" "\\\\\\1" pattern "${path}")
    file(STRINGS ${work}/unpacked/${file} found LIMIT_COUNT 1 REGEX "${pattern}")
    if(found)
      message(FATAL_ERROR "${file} holds the path ${path}: ${found}")
    endif()
  endforeach()
endforeach()

file(REMOVE_RECURSE ${work})
message(STATUS "${name}.zip: ${files}")
