#!/usr/bin/env bash
# Installs every Debian package needed to build the launcher, run it under Wine and run its
# tests. Safe to run again: it only installs what is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ make
  mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  googletest
  wine wine64 wine32:i386
  libgl1:i386 libgl1-mesa-dri:i386 libglx-mesa0:i386
  xvfb xauth x11-utils xdotool imagemagick
  # Han, kana and Hangul in one small font, which the Wine prefixes link to the dialog font.
  fonts-wqy-microhei
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[ "${#missing[@]}" -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing ${missing[*]}; run as root to install them with apt-get." >&2
  exit 1
fi

# Wine runs the 32-bit launcher with 32-bit libraries, so the i386 architecture must be known.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  fresh_arch=1
fi

echo "install-deps: installing ${missing[*]}"
if [ -n "${fresh_arch:-}" ] || ! apt-get install -y -s "${missing[@]}" >/dev/null 2>&1; then
  if ! apt-get update; then
    echo "install-deps: apt-get update failed; check the network and the machine's apt" \
      "sources, then run tools/install-deps.sh again" >&2
    exit 1
  fi
fi
if ! DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"; then
  echo "install-deps: apt-get could not install: ${missing[*]}; check the output above and" \
    "the machine's apt sources, then run tools/install-deps.sh again" >&2
  exit 1
fi
