#!/usr/bin/env bash
# The performance report in one command: builds the host and i686 trees,
# runs the star engine benchmark and the whole-program frame-rate benchmark
# (under Wine in a private Xvfb screen), and prints one markdown table, with
# the program's per-frame work (from its benchmark build) in a second below.
# Benchmarks assert nothing; this is not part of the test run.
# Usage: bench/run.sh [--rounds N] [--no-paced] [--all-cores]
# $VELMORA_BUILD_DIR moves the trees (default build); $VELMORA_BENCH_TREE=win64
# measures the x86_64 build instead of the i686 product (for machines that
# cannot run 32-bit programs).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
b=${VELMORA_BUILD_DIR:-build}
tree=${VELMORA_BENCH_TREE:-win32}
case $tree in win32|win64) ;; *) echo "bench: VELMORA_BENCH_TREE must be win32 or win64" >&2; exit 2 ;; esac
for tool in wine Xvfb xdpyinfo python3; do
  command -v "$tool" >/dev/null || { echo "bench: $tool is missing (run scripts/setup.sh)" >&2; exit 1; }
done

mkdir -p "$b"
log="$b/bench-build.log"
# shellcheck source=../scripts/wine-arch.sh
. "$root/scripts/wine-arch.sh"
if ! velmora_runs_32bit; then
  if [ "$tree" = win64 ]; then
    velmora_wine64_only "$b/bench-wine"
  else
    echo "bench: this machine does not start 32-bit programs, so 32-bit Wine cannot run here" >&2
    echo "bench: VELMORA_BENCH_TREE=win64 measures the x86_64 build" >&2
    exit 1
  fi
fi
echo "building the host and $tree trees (log: $log) ..."
if ! scripts/build.sh host "$tree" >"$log" 2>&1; then
  # Something else in the trees is broken; the benchmark needs only these.
  tail -n 5 "$log" >&2
  echo "bench: the full build failed; building the benchmark's own targets only" >&2
  cmake --build "$b/host" --target engine_bench >>"$log" 2>&1 &&
    cmake --build "$b/$tree" --target velmora95 wing32 velmora_probe velmora_presenter velmora95_benchbuild >>"$log" 2>&1 ||
    { tail -n 20 "$log" >&2; echo "bench: build failed" >&2; exit 1; }
fi
exec python3 bench/report.py --host "$b/host" --win32 "$b/$tree" "$@"
