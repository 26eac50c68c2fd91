#!/usr/bin/env bash
# Sets up the machine and builds the i686 tree (progress on stderr); prints
# the tree's absolute path. Used by the commands that ship or show the
# program: the release and the pictures of the read-me.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/setup.sh" >&2
"$root/scripts/build.sh" win32 >&2
cd "${VELMORA_BUILD_DIR:-build}/win32" && pwd
