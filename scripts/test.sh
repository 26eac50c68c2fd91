#!/usr/bin/env bash
# Sets up the machine, builds every tree and runs every test: native tests
# (sanitizers), Win32 unit tests under Wine on a 24-bit and an 8-bit Xvfb
# screen, for the i686 product and the x86_64 build, and the end-to-end tests.
# On a machine whose kernel does not start 32-bit programs, 32-bit Wine
# cannot run: the i686 tree is built and its release checks run, and the
# x86_64 tree takes every Wine test, the end-to-end cases and the Debian
# package's among them.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
b=${VELMORA_BUILD_DIR:-build}

"$root/scripts/setup.sh" || exit 1
"$root/scripts/build.sh" || { echo "build failed"; exit 1; }

. "$root/scripts/xvfb.sh"
. "$root/scripts/wine-prefix.sh"
. "$root/scripts/wine-arch.sh"

cleanup() {
  velmora_wine_stop_all "$b/win32"
  velmora_wine_stop_all "$b/win64"
  velmora_stop_xvfb
}
trap cleanup EXIT

velmora_start_xvfb VELMORA_DISPLAY_24 24 || exit 1
velmora_start_xvfb VELMORA_DISPLAY_8 8 || exit 1
export VELMORA_DISPLAY_24 VELMORA_DISPLAY_8
echo "test: 24-bit screen $VELMORA_DISPLAY_24, 8-bit screen $VELMORA_DISPLAY_8"
velmora_wine_stop_all "$b/win32"
velmora_wine_stop_all "$b/win64"

passed=0 failed=0 status=0
run_ctest() { # tree jobs ctest-args...
  local tree=$1 jobs=$2; shift 2
  local log
  log=$(mktemp)
  echo "== ctest: $tree $*"
  ctest --test-dir "$tree" --output-on-failure -j "$jobs" "$@" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  local line
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -n "$line" ]; then
    local f t
    f=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    t=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
    passed=$((passed + t - f)); failed=$((failed + f))
  elif grep -q 'No tests were found' "$log"; then
    :
  else
    failed=$((failed + 1))
  fi
  [ "$rc" = 0 ] || status=1
  rm -f "$log"
}

# The test programs of one screen take turns on its virtual desktop, while
# the other screen's programs, the end-to-end cases (each on a private
# screen) and the release check run beside them.
run_ctest "$b/host" 2
if velmora_runs_32bit; then
  run_ctest "$b/win32" "${VELMORA_TEST_JOBS:-4}"
  run_ctest "$b/win64" "${VELMORA_TEST_JOBS:-4}" -LE e2e
else
  echo "test: this machine does not start 32-bit programs, so 32-bit Wine cannot run here;"
  echo "test: the i686 tree runs its release checks, the x86_64 tree every Wine test"
  velmora_wine64_only "$b/wine64-bin"
  run_ctest "$b/win32" "${VELMORA_TEST_JOBS:-4}" -LE 'win32|e2e'
  run_ctest "$b/win64" "${VELMORA_TEST_JOBS:-4}"
fi

echo "== fuzz: each image decoder for a short bounded time"
if "$root/scripts/fuzz.sh" "${VELMORA_FUZZ_SECONDS:-10}"; then
  passed=$((passed + 1))
else
  failed=$((failed + 1)); status=1
fi

echo
echo "tests: $passed passed, $failed failed"
exit $status
