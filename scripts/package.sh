#!/usr/bin/env bash
# Builds the release: BUILD/win32/release/velmora95-<version>-win32.zip with
# velmora95.exe, our WING32.DLL beside it and README.TXT for Windows users.
# Prints the zip's path on its last line.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
b=${VELMORA_BUILD_DIR:-build}
"$root/scripts/setup.sh" >&2
"$root/scripts/build.sh" win32 >&2
tree=$(cd "$b/win32" && pwd)
rm -rf "$tree/release"
(cd "$tree" && cpack --config CPackConfig.cmake >&2)
zip=$(ls "$tree"/release/velmora95-*-win32.zip)
echo "package: $zip" >&2
echo "$zip"
