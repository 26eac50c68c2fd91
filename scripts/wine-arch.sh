# Sourced by the scripts that start Wine: which of the two builds this
# machine can run.
#
# 32-bit Wine needs a kernel that starts 32-bit Linux programs. Some kernels
# are built or booted without that (ia32_emulation off): there the i686
# product still builds, but only the x86_64 build runs under Wine.

# velmora_runs_32bit: true when 32-bit Wine starts here. Asked of the
# 32-bit loader that wine32 installs, so it fails the way Wine itself would:
# where the kernel starts no 32-bit programs, and where wine32 is missing
# (it cannot always be installed: see setup.sh).
velmora_runs_32bit() {
  [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

# velmora_wine64_only DIR: puts `wine` and `wine-stable` (which wineboot and
# the other Wine tools start) on PATH as 64-bit Wine. Debian's wine script
# takes the 32-bit loader whenever wine32 is installed, even for a 64-bit
# program, so on a machine that cannot run it nothing would start.
velmora_wine64_only() {
  local dir=$1 name
  mkdir -p "$dir"
  dir=$(cd "$dir" && pwd)
  for name in wine wine-stable; do
    printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' >"$dir/$name"
    chmod +x "$dir/$name"
  done
  export PATH="$dir:$PATH"
}
