#!/usr/bin/env bash
# The performance report in one command: builds the host and i686 trees,
# runs the star engine benchmark and the whole-program frame-rate benchmark
# (under Wine in a private Xvfb screen), and prints one markdown table.
# Benchmarks assert nothing; this is not part of the test run.
# Usage: bench/run.sh     ($VELMORA_BUILD_DIR moves the trees, default build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
b=${VELMORA_BUILD_DIR:-build}
for tool in wine Xvfb xdpyinfo python3; do
  command -v "$tool" >/dev/null || { echo "bench: $tool is missing (run scripts/setup.sh)" >&2; exit 1; }
done

mkdir -p "$b"
log="$b/bench-build.log"
echo "building the host and win32 trees (log: $log) ..."
if ! scripts/build.sh host win32 >"$log" 2>&1; then
  # Something else in the trees is broken; the benchmark needs only these.
  tail -n 5 "$log" >&2
  echo "bench: the full build failed; building the benchmark's own targets only" >&2
  cmake --build "$b/host" --target engine_bench >>"$log" 2>&1 &&
    cmake --build "$b/win32" --target velmora95 wing32 velmora_probe velmora_presenter >>"$log" 2>&1 ||
    { tail -n 20 "$log" >&2; echo "bench: build failed" >&2; exit 1; }
fi
exec python3 bench/report.py --host "$b/host" --win32 "$b/win32" "$@"
