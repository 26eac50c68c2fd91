# Makes the release zip into a scratch folder and reads the import table of
# every program and DLL in it (.exe, .dll, .scr) with objdump: each imported
# function must be on the list of what the oldest Windows the read-me names
# provides (LISTS/<dll>.txt: Windows XP for the i686 zip, Windows XP x64 for
# the x86_64 one; made and explained by winxp-exports/make-lists.sh). A DLL
# without a list fails too.
#   cmake -DTREE=<Windows build tree> -DOBJDUMP=<objdump> -DLISTS=<folder> -P check_imports.cmake
cmake_minimum_required(VERSION 3.20)

include(${CMAKE_CURRENT_LIST_DIR}/unpack_zip.cmake)
set(work ${TREE}/tests/release-imports)
velmora_unpack_release_zip(${TREE} ${work})

file(GLOB_RECURSE files ${work}/unpacked/*)
list(FILTER files INCLUDE REGEX "\\.([eE][xX][eE]|[dD][lL][lL]|[sS][cC][rR])$")
list(SORT files)
if(NOT files)
  message(FATAL_ERROR "the zip holds no program")
endif()

set(wrong "")
foreach(file IN LISTS files)
  get_filename_component(name ${file} NAME)
  execute_process(COMMAND ${OBJDUMP} -p ${file} RESULT_VARIABLE rc OUTPUT_VARIABLE dump ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} -p ${name} failed: ${err}")
  endif()
  # The import tables: "DLL Name: X" starts a DLL, then one line per
  # function, "<address> <hint> <name>" (an import by ordinal has no name
  # and is reported as such). The next section ends them.
  string(REPLACE ";" "," dump "${dump}")
  string(REPLACE "\n" ";" lines "${dump}")
  set(dll "")
  set(imported 0)
  foreach(line IN LISTS lines)
    if(line MATCHES "^The ")
      set(dll "")
    elseif(line MATCHES "DLL Name: (.+)$")
      string(TOLOWER "${CMAKE_MATCH_1}" dll)
      string(REGEX REPLACE "\\.dll$" "" dll "${dll}")
      if(NOT DEFINED provides_${dll})
        if(EXISTS ${LISTS}/${dll}.txt)
          file(STRINGS ${LISTS}/${dll}.txt provides_${dll} REGEX "^[^#]")
        else()
          set(provides_${dll} "")
          set(unlisted_${dll} TRUE)
        endif()
      endif()
      if(unlisted_${dll})
        string(APPEND wrong "\n  ${name}: ${dll}.dll (no list of what the oldest Windows's ${dll}.dll provides)")
      endif()
    elseif(dll AND line MATCHES "^\t[0-9a-fA-F]+\t +[0-9]+ +(.*)$")
      string(STRIP "${CMAKE_MATCH_1}" function)
      math(EXPR imported "${imported} + 1")
      if(NOT unlisted_${dll} AND NOT function IN_LIST provides_${dll})
        string(APPEND wrong "\n  ${name}: ${dll}.dll ${function}")
      endif()
    endif()
  endforeach()
  if(imported EQUAL 0)
    message(FATAL_ERROR "no imported function found in ${name}: objdump's output is not what this script reads")
  endif()
  message(STATUS "${name}: ${imported} imported functions")
endforeach()

file(REMOVE_RECURSE ${work})
if(wrong)
  message(FATAL_ERROR "imports that the oldest Windows the read-me names does not provide:${wrong}")
endif()
