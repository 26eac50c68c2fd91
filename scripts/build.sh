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

configure() { # dir args...
  local dir=$1; shift
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S . -B "$dir" "${gen[@]}" "$@" >/dev/null
  fi
}

# Each Windows tree knows both: the i686 tree makes the Debian package of
# both builds, and either tree may run its test.
mkdir -p "$b"
abs=$(cd "$b" && pwd)
windows_trees() { # dir
  if ! grep -qxF "VELMORA_WIN64_TREE:PATH=$abs/win64" "$1/CMakeCache.txt" ||
     ! grep -qxF "VELMORA_WIN32_TREE:PATH=$abs/win32" "$1/CMakeCache.txt"; then
    cmake "$1" -DVELMORA_WIN32_TREE="$abs/win32" -DVELMORA_WIN64_TREE="$abs/win64" >/dev/null
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
      configure "$b/win32" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake -DVELMORA_HOST_BIN="$abs/host/tools"
      windows_trees "$b/win32"
      cmake --build "$b/win32" -j "$jobs" "${win_target[@]}" ;;
    win64)
      configure "$b/win64" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake -DVELMORA_HOST_BIN="$abs/host/tools"
      windows_trees "$b/win64"
      cmake --build "$b/win64" -j "$jobs" "${win_target[@]}" ;;
    *) echo "unknown tree: $t" >&2; exit 2 ;;
  esac
done
