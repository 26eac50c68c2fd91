# Included by the release checks: makes the release zip of TREE with cpack
# into WORK/out and unpacks it into WORK/unpacked, as a Windows user would
# (WORK is emptied first). Sets RELEASE_ZIP to the zip's path.
function(velmora_unpack_release_zip tree work)
  file(REMOVE_RECURSE ${work})
  file(MAKE_DIRECTORY ${work}/unpacked)
  execute_process(COMMAND ${CMAKE_CPACK_COMMAND} --config ${tree}/CPackConfig.cmake -G ZIP -B ${work}/out
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cpack failed:\n${out}")
  endif()
  file(GLOB zips ${work}/out/*.zip)
  list(LENGTH zips count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one zip, cpack made: ${zips}")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${zips} WORKING_DIRECTORY ${work}/unpacked RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the zip does not unpack")
  endif()
  set(RELEASE_ZIP ${zips} PARENT_SCOPE)
endfunction()
