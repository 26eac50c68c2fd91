#!/usr/bin/env bash
# Makes the pictures of the read-me: docs/flight.gif, a few seconds of the
# program flying Dirty Laundry, Crowded, at Doubled size, paced and recorded in real time,
# and docs/screenshot.png, the whole screen. The program runs with our WING32.DLL under Wine on a virtual
# desktop inside a private Xvfb screen (the end-to-end harness, with a Wine
# prefix of the end-to-end cases, taken in turn with them).
# Usage: scripts/capture.sh [capture.py options, e.g. --seconds 4 --frame-rate 30 --simulation tumble --population dense]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. "$root/scripts/wine-arch.sh"
"$root/scripts/setup.sh" >&2
if velmora_runs_32bit; then
  tree=$("$root/scripts/win32-tree.sh")
else
  # 32-bit Wine cannot run where the kernel does not start 32-bit programs:
  # the x86_64 build, the same program, is recorded instead.
  echo "capture: this machine does not start 32-bit programs; recording the x86_64 build" >&2
  "$root/scripts/build.sh" win64 >&2
  tree=$(cd "${VELMORA_BUILD_DIR:-build}/win64" && pwd)
  velmora_wine64_only "$tree/../wine64-bin"
fi
exec python3 "$root/tests/e2e/capture.py" --tree "$tree" --exe "$tree/app/velmora95.exe" \
  --probe "$tree/tests/e2e/velmora_probe.exe" --wing-dll "$tree/wing/WING32.DLL" \
  --gif "$root/docs/flight.gif" --screenshot "$root/docs/screenshot.png" "$@"
