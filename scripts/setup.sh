#!/usr/bin/env bash
# Installs everything the build, the program and the tests need on Debian 12.
# Idempotent: packages already present are skipped.
set -euo pipefail

# The win32-thread-model MinGW compilers bring the run-time libraries that
# the release links (cmake/VelmoraCommon.cmake); fonts-wine has Wine's
# Marlett font, whose glyphs draw the windows' caption buttons.
packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64
  g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32
  wine wine64 wine32:i386 fonts-wine
  xvfb x11-utils x11-xserver-utils xdotool imagemagick
  googletest
  pulseaudio pulseaudio-utils sox
  zip python3 lintian
)

missing=()
need_i386=0
dpkg --print-foreign-architectures 2>/dev/null | grep -qx i386 || need_i386=1
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done

if [ "$need_i386" = 0 ] && [ "${#missing[@]}" = 0 ]; then
  echo "setup: everything is installed"
  exit 0
fi

if [ "$(id -u)" != 0 ]; then
  echo "setup: these packages are missing: ${missing[*]}" >&2
  [ "$need_i386" = 1 ] && echo "setup: and the i386 architecture is not enabled" >&2
  echo "setup: run this script as root (or with sudo) to install them:" >&2
  echo "  sudo $0" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
if [ "$need_i386" = 1 ]; then
  echo "setup: enabling the i386 architecture (for 32-bit Wine)"
  dpkg --add-architecture i386
fi
echo "setup: installing ${missing[*]}"
# A mirror caught mid-sync can fail one index (seen: the i386 security
# list); the packages still install from the lists that did arrive.
apt-get update -qq || echo "setup: some package lists could not be refreshed; installing from the rest" >&2
if ! apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null; then
  # 32-bit Wine needs i386 libraries at the very versions of their amd64
  # twins; while a mirror's i386 lists lag behind, it cannot install. The
  # rest is installed without it, and the scripts then run every Wine test
  # with the x86_64 build, as they do where the kernel starts no 32-bit
  # programs (wine-arch.sh asks the 32-bit loader itself).
  echo "setup: 32-bit Wine cannot be installed now; going on without it (the x86_64 build takes the Wine tests)" >&2
  rest=()
  for p in "${missing[@]}"; do
    [ "$p" = wine32:i386 ] || rest+=("$p")
  done
  apt-get install -y -qq --no-install-recommends "${rest[@]}" >/dev/null
fi
echo "setup: done"
