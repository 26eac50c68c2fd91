#!/usr/bin/env bash
# Writes the lists of functions that Windows XP's system DLLs provide, one
# file per DLL (NAME.txt, one function a line), for check_imports.cmake.
#   tests/release/winxp-exports/make-lists.sh [dll ...]   (default: the DLLs
#   the release imports today)
# With VELMORA_ARCH=x86_64 it writes the lists of the first 64-bit Windows,
# Windows XP Professional x64 Edition (the Windows Server 2003 SP1 system,
# version 5.2), into ../winxp-x64-exports instead: the x86_64 import
# libraries, the headers at _WIN32_WINNT 0x0502, and for msvcrt.dll, which
# is of the same 7.0 generation there, the x86_64 libmsvcrt-os.a against
# the i686 libmsvcr70.a (msvcr70.dll was never built for x64).
#
# Where the names come from (Debian 12's MinGW-w64 10.0.0, i686):
#  - A Windows DLL (kernel32, user32, gdi32, comctl32, winmm, ...): the
#    functions that MinGW-w64's import library lib<dll>.a exports AND that
#    MinGW-w64's Windows headers declare for Windows XP, that is with
#    WINVER and _WIN32_WINNT 0x0501 and _WIN32_IE 0x0600 (XP ships Internet
#    Explorer 6). The headers follow the Windows SDK in declaring a newer
#    function only for a newer _WIN32_WINNT (GetTickCount64 sits under
#    "#if _WIN32_WINNT >= 0x0600" in sysinfoapi.h). One they do not declare
#    at all (undocumented exports) is left out. The headers do not guard
#    every later function, though: a few are declared for any version and
#    so are on the lists although XP lacks them (seen: SetThreadErrorMode,
#    Windows 7; UpdateLayeredWindowIndirect and ShutdownBlockReasonCreate,
#    Vista). The lists catch what the SDK marks as later, not everything.
#  - msvcrt.dll: MinGW-w64's C headers do not tell the msvcrt.dll versions
#    apart. Windows XP's msvcrt.dll is version 7.0, of the generation of
#    Visual C++ 7.0's msvcr70.dll, so the list is the functions exported by
#    both MinGW-w64's import library of the system msvcrt.dll
#    (libmsvcrt-os.a) and its import library of msvcr70.dll (libmsvcr70.a).
#    That leaves out what later versions added (the _s functions,
#    _get_errno, ...).
# Before writing, the script checks that a few functions that came after
# Windows XP are absent from the lists (GetTickCount64 first), and stops if
# one is present.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
case ${VELMORA_ARCH:-i686} in
  i686) triple=i686-w64-mingw32 winnt=0x0501 name="Windows XP" out=$here ;;
  x86_64) triple=x86_64-w64-mingw32 winnt=0x0502 name="Windows XP x64" out=$here/../winxp-x64-exports ;;
  *) echo "VELMORA_ARCH is i686 or x86_64" >&2; exit 2 ;;
esac
lib=/usr/$triple/lib
cc=$triple-gcc-win32
command -v "$cc" >/dev/null || cc=$triple-gcc-posix
dlls=("$@")
[ ${#dlls[@]} -gt 0 ] || dlls=(kernel32 user32 gdi32 comctl32 winmm msvcrt)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Function names an import library exports (its __imp_ symbols, without
# the stdcall decoration and, on i686, the leading underscore).
exports() { # dll [folder]
  LC_ALL=C "$triple-nm" -g --defined-only "${2:-$lib}/lib$1.a" 2>/dev/null |
    awk '{print $NF}' | sed -n -E 's/^__imp_(.*)$/\1/p' | sed -E 's/@[0-9]+$//' |
    if [ "$triple" = i686-w64-mingw32 ]; then sed -n 's/^_//p'; else cat; fi | LC_ALL=C sort -u
}

# Of the names in a file, those the Windows headers declare for Windows XP.
declared_for_xp() { # names-file
  local names=$1 n=0
  {
    printf '#include <windows.h>\n#include <commctrl.h>\n#include <mmsystem.h>\n#include <shellapi.h>\n'
    while read -r f; do n=$((n + 1)); printf 'void *velmora_%d = (void *)&%s;\n' "$n" "$f"; done <"$names"
  } >"$work/check.c"
  LC_ALL=C "$cc" -fsyntax-only -fmax-errors=0 -DWINVER=$winnt -D_WIN32_WINNT=$winnt -D_WIN32_IE=0x0600 \
    "$work/check.c" 2>"$work/errors.txt" || true
  sed -n -E "s/.*error: '([A-Za-z_0-9]+)' undeclared.*/\1/p" "$work/errors.txt" | LC_ALL=C sort -u >"$work/undeclared.txt"
  LC_ALL=C comm -23 "$names" "$work/undeclared.txt"
}

for dll in "${dlls[@]}"; do
  case $dll in
    msvcrt)
      exports msvcrt-os >"$work/os.txt"
      triple=i686-w64-mingw32 exports msvcr70 /usr/i686-w64-mingw32/lib >"$work/70.txt"
      LC_ALL=C comm -12 "$work/os.txt" "$work/70.txt" >"$work/$dll.txt"
      source="functions exported by both libmsvcrt-os.a and libmsvcr70.a" ;;
    *)
      exports "$dll" >"$work/all.txt"
      [ -s "$work/all.txt" ] || { echo "no import library lib$dll.a in $lib" >&2; exit 1; }
      declared_for_xp "$work/all.txt" >"$work/$dll.txt"
      source="functions of lib$dll.a declared by the headers for _WIN32_WINNT $winnt" ;;
  esac
  {
    echo "# ${dll^^}.DLL on $name: $source"
    echo "# (MinGW-w64 10.0.0, ${triple%%-*}; made by make-lists.sh, which says why)."
    cat "$work/$dll.txt"
  } >"$work/$dll.list"
done

# Functions that came after Windows XP must not be on the lists.
later="kernel32:GetTickCount64 kernel32:FlsAlloc kernel32:InitializeSRWLock kernel32:InitializeConditionVariable
kernel32:InitializeCriticalSectionEx kernel32:CreateEventExA kernel32:GetFileInformationByHandleEx
user32:SetProcessDPIAware user32:ChangeWindowMessageFilter msvcrt:strcpy_s msvcrt:_get_errno msvcrt:qsort_s"
for entry in $later; do
  dll=${entry%%:*} f=${entry#*:}
  if [ -f "$work/$dll.list" ] && grep -qx "$f" "$work/$dll.list"; then
    echo "$f came after $name but is on the $dll list: the source is not what it claims" >&2
    exit 1
  fi
done

mkdir -p "$out"
for dll in "${dlls[@]}"; do
  mv "$work/$dll.list" "$out/$dll.txt"
  echo "$dll: $(grep -vc '^#' "$out/$dll.txt") functions"
done
