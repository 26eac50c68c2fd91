#!/usr/bin/env bash
# Builds the release from both Windows trees, dated with the last commit:
#   BUILD/win32/release/velmora95-<version>-win32.zip  the i686 product
#   BUILD/win64/release/velmora95-<version>-win64.zip  the x86_64 build
#   BUILD/win32/release/velmora95_<version>_all.deb    both builds, with a
#     velmora95 command that runs one of them under Wine
# Each zip holds velmora95.exe, the screen saver, its own WING32.DLL,
# README.TXT for Windows users and LICENSE.TXT. The same commit gives the
# same bytes, wherever and whenever it is packed.
# Prints the i686 zip's path on its last line.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
win32=$("$root/scripts/win32-tree.sh")
"$root/scripts/build.sh" win64 >&2
win64=$(cd "${VELMORA_BUILD_DIR:-build}/win64" && pwd)
if [ -z "${SOURCE_DATE_EPOCH:-}" ] && git -C "$root" rev-parse --git-dir >/dev/null 2>&1; then
  SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct)
  export SOURCE_DATE_EPOCH
fi
for tree in "$win32" "$win64"; do
  rm -rf "$tree/release"
  (cd "$tree" && cpack --config CPackConfig.cmake >&2)
done
zip=$(ls "$win32"/release/velmora95-*-win32.zip)
for file in "$win32"/release/velmora95_*_all.deb "$win64"/release/velmora95-*-win64.zip "$zip"; do
  echo "package: $file ($(stat -c %s "$file") bytes, sha256 $(sha256sum "$file" | cut -d' ' -f1))" >&2
done
echo "$zip"
