#!/usr/bin/env bash
# Runs a Windows program under Wine for the tests: wine-run.sh BUILD_DIR PROGRAM [ARGS...]
# One Wine prefix per build tree and screen depth ($VELMORA_SCREEN, 24 or 8),
# created on first use; the X display of that depth comes from
# $VELMORA_DISPLAY_24 / $VELMORA_DISPLAY_8 (set by scripts/test.sh), else $DISPLAY.
set -euo pipefail
build=$1; shift
screen=${VELMORA_SCREEN:-24}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=wine-prefix.sh
. "$here/wine-prefix.sh"
velmora_wine_env "$build" "$screen"
velmora_wine_prefix_ready
# Wine's helper processes (services, explorer) outlive the test program and
# would hold CTest's output pipe open: the program writes to a file instead.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
rc=0
wine "$@" >"$out" 2>&1 </dev/null || rc=$?
cat "$out"
exit $rc
