# Run by cpack before it makes the Debian package from the staged files.
set(staged "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")

# The Windows files under /usr/lib/velmora95 become plain readable files
# (the install gives the programs and the DLLs execute bits, which make no
# sense for files that Wine loads).
foreach(build win32 win64)
  file(GLOB windows_files "${staged}/usr/lib/velmora95/${build}/*")
  if(NOT windows_files)
    message(FATAL_ERROR "no files staged under ${staged}/usr/lib/velmora95/${build}")
  endif()
  file(CHMOD ${windows_files} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endforeach()

# The changelog, dated with the release's time (SOURCE_DATE_EPOCH, which
# string(TIMESTAMP) follows) and compressed without name or time stamp.
set(doc "${staged}/usr/share/doc/velmora95")
string(TIMESTAMP VELMORA_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file("${VELMORA_CHANGELOG_IN}" "${doc}/changelog" @ONLY)
execute_process(COMMAND "${VELMORA_GZIP}" -9n "${doc}/changelog" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "gzip failed on ${doc}/changelog")
endif()
file(CHMOD "${doc}/changelog.gz" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

# Folders as Debian wants them, whatever the umask of whoever packs.
file(GLOB_RECURSE folders LIST_DIRECTORIES true "${staged}/*")
foreach(folder IN LISTS folders)
  if(IS_DIRECTORY "${folder}")
    file(CHMOD "${folder}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
      WORLD_READ WORLD_EXECUTE)
  endif()
endforeach()
