#!/usr/bin/env bash
# Installs, from the Debian archive, whatever the comparison needs and this machine lacks.
set -euo pipefail

declare -A package_of=(
  [Xvfb]=xvfb [trayer]=trayer [xdotool]=xdotool [xwininfo]=x11-utils
  [conky]=conky-std [gkrellm]=gkrellm [python3]=python3 [getconf]=libc-bin
  [xtrace]=xtrace [ss]=iproute2 [dbus-daemon]=dbus-daemon [dbus-monitor]=dbus-bin [dbus-send]=dbus-bin
  [xfce4-panel]=xfce4-panel [/usr/lib/x86_64-linux-gnu/xfce4/xfconf/xfconfd]=xfconf
)
missing=()
for command in "${!package_of[@]}"; do
  command -v "$command" >/dev/null 2>&1 || [[ -x $command ]] || missing+=("${package_of[$command]}")
done
((${#missing[@]})) || exit 0
mapfile -t missing < <(printf '%s\n' "${missing[@]}" | sort -u)

echo "install_tools.sh: installing ${missing[*]}" >&2
sudo=()
((EUID == 0)) || sudo=(sudo)
"${sudo[@]}" apt-get update >&2
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}" >&2
