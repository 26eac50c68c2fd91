#!/usr/bin/env bash
# Builds the image decoders' fuzz targets with clang (libFuzzer, ASan,
# UBSan) in build/fuzz and runs each for a bounded time over its seed
# corpus. Usage: scripts/fuzz.sh [SECONDS_PER_TARGET]   (default 10)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-10}
tree=${VELMORA_BUILD_DIR:-build}/fuzz
if [ ! -f "$tree/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$tree" -G Ninja -DVELMORA_FUZZ_ONLY=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$tree" -j "${VELMORA_JOBS:-2}"
status=0
for format in bmp pcx; do
  work="$tree/work/$format"
  mkdir -p "$work" "$tree/crashes/$format"
  echo "fuzz: $format for ${seconds}s"
  if ! "$tree/tests/fuzz/fuzz_$format" -max_total_time="$seconds" -print_final_stats=1 \
       -artifact_prefix="$tree/crashes/$format/" "$work" "$tree/tests/fuzz/corpus/$format" 2>"$tree/fuzz_$format.log"; then
    status=1
    tail -n 40 "$tree/fuzz_$format.log"
  fi
  grep -E '^stat::number_of_executed_units|^Done ' "$tree/fuzz_$format.log" || true
done
if [ "$status" = 0 ]; then echo "fuzz: no findings"; else echo "fuzz: FINDINGS (see $tree/crashes)"; fi
exit $status
