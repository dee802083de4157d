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
  wine wine64
  xvfb xauth
  trayer xdotool x11-utils imagemagick
)

installed=$(dpkg-query -W -f='${Package} ${db:Status-Status}\n' "${packages[@]}" 2>/dev/null || true)
missing=()
for package in "${packages[@]}"; do
  grep -qx "${package} installed" <<<"$installed" || missing+=("$package")
done
if [[ ${#missing[@]} -eq 0 ]]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then
  if ! command -v sudo >/dev/null; then
    echo "These packages are missing and sudo is not available: ${missing[*]}" >&2
    exit 1
  fi
  sudo=(sudo)
fi
# Other builds may hold the package lock for a while: wait for it rather than fail.
apt=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600)
"${apt[@]}" update -qq
"${apt[@]}" install -y -qq --no-install-recommends "${missing[@]}"
