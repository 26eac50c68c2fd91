#!/usr/bin/env bash
# Builds the release: BUILD/win32/release/velmora95-<version>-win32.zip with
# velmora95.exe, our WING32.DLL beside it and README.TXT for Windows users,
# and beside it velmora95_<version>_all.deb, which installs the same files
# with a velmora95 command that runs them under Wine.
# Prints the zip's path on its last line.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tree=$("$root/scripts/win32-tree.sh")
rm -rf "$tree/release"
(cd "$tree" && cpack --config CPackConfig.cmake >&2)
zip=$(ls "$tree"/release/velmora95-*-win32.zip)
echo "package: $(ls "$tree"/release/velmora95_*_all.deb)" >&2
echo "package: $zip" >&2
echo "$zip"
