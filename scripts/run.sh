#!/usr/bin/env bash
# Sets up the machine, builds everything and runs the program under Wine.
# With a usable $DISPLAY the program opens there; without one it runs inside
# a private Xvfb screen for a few seconds and a screenshot is saved.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

# The program runs from the release zip, unpacked as a Windows user would:
# the program with our WING32.DLL and the read-me beside it.
# Where the kernel does not start 32-bit programs, 32-bit Wine cannot run:
# the x86_64 build's zip is shown instead.
. "$root/scripts/wine-arch.sh"
"$root/scripts/setup.sh"
if velmora_runs_32bit; then
  zip=$("$root/scripts/package.sh" | tail -n 1)
  tree=win32
else
  echo "run: this machine does not start 32-bit programs; running the x86_64 build"
  "$root/scripts/build.sh" win64
  tree=win64
  (cd "${VELMORA_BUILD_DIR:-build}/win64" && rm -rf release && cpack -G ZIP --config CPackConfig.cmake >&2)
  zip=$(ls "${VELMORA_BUILD_DIR:-build}"/win64/release/velmora95-*-win64.zip)
  zip=$(cd "$(dirname "$zip")" && pwd)/$(basename "$zip")
  velmora_wine64_only "${VELMORA_BUILD_DIR:-build}/wine64-bin"
fi
b=$(cd "${VELMORA_BUILD_DIR:-build}" && pwd)
pkg="$b/$tree/package"
rm -rf "$pkg" "$pkg.unzip"
mkdir -p "$pkg.unzip"
(cd "$pkg.unzip" && cmake -E tar xf "$zip")
mv "$pkg.unzip"/velmora95-*/ "$pkg"
rmdir "$pkg.unzip"
exe="$pkg/velmora95.exe"

. "$root/scripts/xvfb.sh"
. "$root/scripts/wine-prefix.sh"
export WINEPREFIX="${VELMORA_RUN_PREFIX:-$b/run-prefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;wing32=n"
if [ -z "${WINEPREFIX_READY:-}" ] && [ ! -d "$WINEPREFIX" ]; then
  WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1 || true
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
  wineserver -w
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
