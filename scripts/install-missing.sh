#!/usr/bin/env bash
# Installs with apt-get those of the Debian packages named that are not installed yet, through sudo
# when not root. When everything is there it does nothing, quickly and without the network.
#   scripts/install-missing.sh [--no-recommends] PACKAGE...
set -euo pipefail
options=()
if [[ ${1:-} == --no-recommends ]]; then
  options+=(--no-install-recommends)
  shift
fi

installed=$(dpkg-query -W -f='${Package} ${db:Status-Status}\n' "$@" 2>/dev/null || true)
missing=()
for package in "$@"; do
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
# Another install may hold the package lock for a while: wait for it rather than fail.
apt=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600)
"${apt[@]}" update -qq
"${apt[@]}" install -y -qq "${options[@]}" "${missing[@]}"
