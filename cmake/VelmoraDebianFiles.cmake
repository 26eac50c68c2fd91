# Run by cpack before it makes the Debian package from the staged files:
# the Windows files under /usr/lib/velmora95 become plain readable files
# (the install gives the program and the DLLs execute bits, which make no
# sense for files that Wine loads).
file(GLOB_RECURSE windows_files "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/lib/velmora95/*")
if(NOT windows_files)
  message(FATAL_ERROR "no files staged under ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/lib/velmora95")
endif()
file(CHMOD ${windows_files} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
