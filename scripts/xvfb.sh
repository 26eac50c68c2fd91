# Sourced by the test and run commands: private X servers.

VELMORA_XVFB_PIDS=""

# velmora_start_xvfb VAR DEPTH [SIZE]: starts an Xvfb screen of that depth on
# a free display number and stores its name (":N") in VAR.
velmora_start_xvfb() {
  local var=$1 depth=$2 size=${3:-1024x768} n pid i
  for n in $(seq 91 150); do
    if [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; then continue; fi
    # -s 0: no screen saver (the default one starts after ten idle minutes).
    Xvfb ":$n" -screen 0 "${size}x${depth}" -nolisten tcp -noreset -s 0 >/dev/null 2>&1 &
    pid=$!
    for i in $(seq 1 100); do
      if xdpyinfo -display ":$n" >/dev/null 2>&1; then
        VELMORA_XVFB_PIDS="$VELMORA_XVFB_PIDS $pid"
        printf -v "$var" ':%s' "$n"
        return 0
      fi
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
  done
  echo "could not start Xvfb" >&2
  return 1
}

velmora_stop_xvfb() {
  local pid
  for pid in $VELMORA_XVFB_PIDS; do kill "$pid" 2>/dev/null || true; done
  VELMORA_XVFB_PIDS=""
}
