#!/usr/bin/env bash
# Makes the pictures of the read-me: docs/flight.gif, a few seconds of the
# program flying Tumble Dry at Doubled size, paced and recorded in real time,
# and docs/screenshot.png, the whole screen. The program runs with our WING32.DLL under Wine on a virtual
# desktop inside a private Xvfb screen (the end-to-end harness, with a Wine
# prefix of the end-to-end cases, taken in turn with them).
# Usage: scripts/capture.sh [capture.py options, e.g. --seconds 4 --frame-rate 30 --simulation laundry]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tree=$("$root/scripts/win32-tree.sh")
exec python3 "$root/tests/e2e/capture.py" --tree "$tree" --exe "$tree/app/velmora95.exe" \
  --probe "$tree/tests/e2e/velmora_probe.exe" --wing-dll "$tree/wing/WING32.DLL" \
  --gif "$root/docs/flight.gif" --screenshot "$root/docs/screenshot.png" "$@"
