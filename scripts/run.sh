#!/usr/bin/env bash
# Sets up the machine, builds the program and runs it under Wine. Only what
# the release ships is built (and the host tools that make its assets), not
# the tests. With a usable $DISPLAY the program opens there; without one it
# runs inside a private Xvfb screen for a few seconds and a screenshot is
# saved.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

# The program runs from the release's files, laid out as a Windows user
# unpacks the zip: the program with our WING32.DLL and the read-me beside it.
# Where 32-bit Wine cannot run (a kernel that starts no 32-bit programs, or
# no wine32), the x86_64 build is shown instead.
. "$root/scripts/wine-arch.sh"
"$root/scripts/setup.sh"
if velmora_runs_32bit; then
  tree=win32
else
  echo "run: 32-bit Wine cannot run here; running the x86_64 build"
  tree=win64
fi
"$root/scripts/build.sh" --product "$tree"
b=$(cd "${VELMORA_BUILD_DIR:-build}" && pwd)
[ "$tree" = win32 ] || velmora_wine64_only "$b/wine64-bin"
pkg="$b/$tree/package"
rm -rf "$pkg"
cmake --install "$b/$tree" --prefix "$pkg" --strip >/dev/null
exe="$pkg/velmora95.exe"

. "$root/scripts/xvfb.sh"
. "$root/scripts/wine-prefix.sh"
export WINEPREFIX="${VELMORA_RUN_PREFIX:-$b/run-prefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;wing32=n"
if [ ! -f "$WINEPREFIX/.velmora-ready" ]; then
  # Made as the test prefixes are, with a virtual desktop; anew until every
  # step has succeeded once.
  rm -rf "$WINEPREFIX"
  VELMORA_WINE_VARIANT_NOW=desktop velmora_wine_prefix_make && touch "$WINEPREFIX/.velmora-ready" ||
    { echo "run: setting up the Wine prefix $WINEPREFIX failed" >&2; exit 1; }
fi

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "run: starting $exe on $DISPLAY"
  exec wine "$exe"
fi

trap 'wineserver -k >/dev/null 2>&1 || true; velmora_stop_xvfb' EXIT
velmora_start_xvfb DISPLAY 24
export DISPLAY
echo "run: no display; running inside Xvfb $DISPLAY"
wine "$exe" >/dev/null 2>&1 &
sleep "${VELMORA_RUN_SECONDS:-12}"
shot="$b/screenshot.png"
import -window root "$shot"
echo "run: screenshot saved to $shot"
