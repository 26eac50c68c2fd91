#!/usr/bin/env bash
# Runs CTest on one build tree with the two private Xvfb screens that the
# Win32 tests expect (24-bit and 8-bit PseudoColor), then ends the Wine
# servers and the screens. Usage: scripts/ctest-screens.sh TREE [ctest args...]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tree=$1; shift
. "$root/scripts/xvfb.sh"
. "$root/scripts/wine-prefix.sh"
trap 'velmora_wine_stop_all "$tree"; velmora_stop_xvfb' EXIT
velmora_start_xvfb VELMORA_DISPLAY_24 24 || exit 1
velmora_start_xvfb VELMORA_DISPLAY_8 8 || exit 1
export VELMORA_DISPLAY_24 VELMORA_DISPLAY_8
velmora_wine_stop_all "$tree"
ctest --test-dir "$tree" --output-on-failure "$@"
