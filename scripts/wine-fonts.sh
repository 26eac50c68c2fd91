#!/usr/bin/env bash
# Puts Wine's own fonts (Debian's fonts-wine: Marlett, whose glyphs draw the
# caption buttons, Tahoma and the rest) into a prefix's Fonts folder, as
# links. Debian's Wine 8 does not load them from /usr/share/wine/fonts by
# itself: without them a new prefix draws its caption buttons as letters.
# Sourced (velmora_wine_fonts PREFIX) or run: wine-fonts.sh PREFIX

velmora_wine_fonts() {
  local fonts=$1/drive_c/windows/Fonts f
  [ -d /usr/share/wine/fonts ] || return 0
  mkdir -p "$fonts" || return 1
  for f in /usr/share/wine/fonts/*; do
    [ -e "$fonts/${f##*/}" ] || ln -s "$f" "$fonts/${f##*/}" || return 1
  done
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  velmora_wine_fonts "$1"
fi
