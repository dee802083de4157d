#!/usr/bin/env bash
# Installs with apt-get what the Windows build and its tests under Wine need that is not installed
# yet: the MinGW-w64 cross compiler (posix threads), Wine, GoogleTest's sources, and the virtual X
# server, tray host and X tools of the tests with windows. When everything is there it does nothing,
# quickly and without the network.
set -euo pipefail

packages=(
  cmake make ccache
  g++-mingw-w64-x86-64-posix mingw-w64-tools
  googletest
  wine wine64 fonts-wine
  xvfb xauth
  trayer xdotool x11-utils imagemagick
)

exec "$(dirname "$0")/install-missing.sh" --no-recommends "${packages[@]}"
