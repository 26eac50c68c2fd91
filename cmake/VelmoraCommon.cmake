# Compiler settings shared by every target of the project.

add_compile_options(-Wall -Wextra)

if(WIN32)
  # One self-contained .exe: no MinGW runtime DLLs beside it.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0500 NOMINMAX STRICT)
endif()

# Address and undefined-behaviour sanitizers for a native target; any
# report ends the program with a failure.
function(velmora_sanitize target)
  if(NOT WIN32)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()
