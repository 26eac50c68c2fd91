# Sourced by the scripts that start Wine: the environment of a test prefix.
# shellcheck source=wine-fonts.sh
. "$(dirname "${BASH_SOURCE[0]}")/wine-fonts.sh"

# velmora_wine_env BUILD_DIR SCREEN [VARIANT]: exports WINEPREFIX, DISPLAY and
# the quiet Wine settings for that build tree, screen depth and variant:
# "desktop" (the default) is a prefix whose programs share a virtual desktop,
# where windows are created and destroyed in milliseconds (on a bare X
# screen without a window manager each destruction waits about two seconds);
# "plain" puts every window straight on the X screen.
velmora_wine_env() {
  local build=$1 screen=$2 variant=${3:-${VELMORA_WINE_VARIANT:-desktop}}
  export WINEPREFIX
  WINEPREFIX=$(cd "$build" && pwd)/wine/$variant-$screen
  export WINEDEBUG=-all
  # No Mono or Gecko install prompts; the caller may add its own overrides.
  # A crash ends the test program at once instead of waiting in the debugger.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
  local var=VELMORA_DISPLAY_$screen
  if [ -n "${!var:-}" ]; then
    export DISPLAY=${!var}
  fi
  VELMORA_WINE_VARIANT_NOW=$variant
  VELMORA_WINE_SCREEN_NOW=$screen
}

# Creates the prefix once (under a lock, tests may start in parallel) and
# keeps its wine server alive until the test command ends it. The prefix is
# marked ready only when every step of its set-up succeeded; a half-made one
# is made anew by the next caller.
velmora_wine_prefix_ready() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.velmora-ready" ]; then
      rm -rf "$WINEPREFIX"
      if ! velmora_wine_prefix_make; then
        echo "wine-prefix: setting up $WINEPREFIX failed" >&2
        exit 1
      fi
      touch "$WINEPREFIX/.velmora-ready"
    fi
    if [ ! -f "$WINEPREFIX/.velmora-server" ]; then
      (wineserver -p >/dev/null 2>&1 9>&- &)
      touch "$WINEPREFIX/.velmora-server"
    fi
  ) 9>"$WINEPREFIX.lock"
}

# The steps of a new prefix: Wine's own set-up (which writes user.reg), its
# fonts, and for the desktop variant the default virtual desktop. False when
# any of them fails.
velmora_wine_prefix_make() {
  WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1 || return 1
  wineserver -w
  [ -f "$WINEPREFIX/user.reg" ] || return 1
  velmora_wine_fonts "$WINEPREFIX" || return 1
  if [ "$VELMORA_WINE_VARIANT_NOW" = desktop ]; then
    local size=${VELMORA_DESKTOP_SIZE:-1024x768}
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 || return 1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$size" /f >/dev/null 2>&1 || return 1
    wineserver -w
  fi
}

# Ends the wine servers of every prefix of a build tree that no test is
# using. A test holds its prefix's lock while its program runs (an
# end-to-end case for the whole case, wine-run.sh shared for one program):
# ending the server under it would end the program, with exit code 0, as if
# it had quit by itself. Such a prefix is left alone; its user ends it.
velmora_wine_stop_all() {
  local build p
  build=$(cd "$1" 2>/dev/null && pwd) || return 0
  for p in "$build"/wine/*/; do
    [ -d "$p" ] || continue
    p=${p%/}
    (
      flock -n 9 || exit 0
      WINEPREFIX=$p wineserver -k >/dev/null 2>&1 || true
      rm -f "$p/.velmora-server"
    ) 9>>"$p.lock"
  done
}
