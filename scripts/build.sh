#!/usr/bin/env bash
# Builds every tree: build/host (asset generators, native tests, benchmarks),
# build/win32 (the i686 product and its tests) and build/win64 (x86_64).
# Usage: scripts/build.sh [--product] [host|win32|win64 ...]   (default: all three)
# --product builds only what the release ships (and the host tools that make
# its assets), not the tests and benchmarks.
# $VELMORA_BUILD_DIR moves the trees elsewhere (default: build).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
host_target=() win_target=()
if [ "${1:-}" = --product ]; then
  shift
  host_target=(--target velmora_asset_tools)
  win_target=(--target velmora_product)
fi
trees=("$@")
[ ${#trees[@]} -gt 0 ] || trees=(host win32 win64)
gen=()
command -v ninja >/dev/null && gen=(-G Ninja)
jobs=${VELMORA_JOBS:-$(nproc)}
b=${VELMORA_BUILD_DIR:-build}
# shellcheck source=wine-arch.sh
. "$root/scripts/wine-arch.sh"

configure() { # dir args...
  local dir=$1; shift
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S . -B "$dir" "${gen[@]}" "$@" >/dev/null
  fi
}

for t in host "${trees[@]}"; do
  case $t in
    host)
      [ -n "${built_host:-}" ] && continue
      configure "$b/host"
      cmake --build "$b/host" -j "$jobs" "${host_target[@]}"
      built_host=1 ;;
    win32)
      configure "$b/win32" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake -DVELMORA_HOST_BIN="$(cd "$b" && pwd)/host/tools"
      cmake --build "$b/win32" -j "$jobs" "${win_target[@]}" ;;
    win64)
      configure "$b/win64" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake -DVELMORA_HOST_BIN="$(cd "$b" && pwd)/host/tools"
      # Where 32-bit Wine cannot run, the Debian package is made and tested
      # from this tree instead.
      if ! velmora_runs_32bit; then
        cmake "$b/win64" -DVELMORA_DEB=ON >/dev/null
      fi
      cmake --build "$b/win64" -j "$jobs" "${win_target[@]}" ;;
    *) echo "unknown tree: $t" >&2; exit 2 ;;
  esac
done
