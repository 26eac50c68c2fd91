# Compiler settings shared by every target of the project.

add_compile_options(-Wall -Wextra)

if(WIN32)
  # One self-contained .exe: no MinGW runtime DLLs beside it.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0500 NOMINMAX STRICT)

  # The trees build with the posix-thread compilers, which GoogleTest and
  # the tests' std::thread need. Their run-time libraries bring MinGW's
  # threads library (winpthreads), which imports GetTickCount64 from
  # KERNEL32: Windows XP has no such function and would refuse to load the
  # program. What the release ships has no threads, so it links the same
  # GCC's win32-thread-model libstdc++, libgcc and libgcc_eh instead and no
  # threads library. That is sound because the two models differ only in
  # the threads layer: the shipped code references no thread, mutex or
  # once facility (any such reference would now be an undefined pthread_*
  # symbol at link time), and the start-up objects of both are the same
  # code. tests/release/check_imports.cmake checks the result.
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-libgcc-file-name
    OUTPUT_VARIABLE velmora_libgcc OUTPUT_STRIP_TRAILING_WHITESPACE)
  get_filename_component(velmora_runtime_dir "${velmora_libgcc}" DIRECTORY)
  set(VELMORA_WIN32_THREADS_RUNTIME "")
  if(velmora_runtime_dir MATCHES "-posix$")
    string(REGEX REPLACE "-posix$" "-win32" VELMORA_WIN32_THREADS_RUNTIME "${velmora_runtime_dir}")
  endif()
endif()

# velmora_release_runtime(target): links a program or DLL that the release
# ships against the win32-thread-model run-time libraries (see above).
function(velmora_release_runtime target)
  if(NOT VELMORA_WIN32_THREADS_RUNTIME)
    return()  # not a Windows tree, or already the win32 thread model
  endif()
  if(NOT EXISTS ${VELMORA_WIN32_THREADS_RUNTIME}/libstdc++.a)
    message(FATAL_ERROR "${VELMORA_WIN32_THREADS_RUNTIME}/libstdc++.a is missing: install the win32-thread-model "
      "MinGW-w64 compilers (Debian: g++-mingw-w64-i686-win32, g++-mingw-w64-x86-64-win32)")
  endif()
  # -no-pthread drops the threads library that the posix compilers' driver
  # adds; the -L folder comes before the driver's own, so its libstdc++,
  # libgcc and libgcc_eh are the ones linked.
  target_link_options(${target} PRIVATE -no-pthread -L${VELMORA_WIN32_THREADS_RUNTIME})
endfunction()

# Address and undefined-behaviour sanitizers for a native target; any
# report ends the program with a failure.
function(velmora_sanitize target)
  if(NOT WIN32)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()
