#!/usr/bin/env bash
# Installs with apt-get the desktops the end-to-end suite's `desktops` scenarios run on, when they
# are missing: GNOME Shell with the AppIndicator extension, KDE Plasma (plasmashell, kded5, kwin_x11)
# and sway with waybar. They are large, so `make test` does without them and `make desktops-test`
# installs them. Without recommends, as the scenarios start each part themselves.
set -euo pipefail
"$(dirname "$0")/setup.sh"

packages=(
  # GNOME Shell 43 on X11 (Xvfb with GLX, through Mesa's software renderer) and headless Wayland;
  # gsettings writes its settings into the fresh home's dconf before it starts
  gnome-shell gnome-shell-extension-appindicator libgl1-mesa-dri dconf-gsettings-backend libglib2.0-bin
  # KDE Plasma 5.27: the shell, its desktop's panel and tray applets, kded5 with the watcher, KWin
  plasma-workspace plasma-desktop kwin-x11 kded5 kactivitymanagerd
  # sway with waybar's tray, screenshots with grim, xhost to let the tests' tools into its Xwayland
  sway waybar grim x11-xserver-utils
)
"$(dirname "$0")/install-missing.sh" --no-recommends "${packages[@]}"

# sway refuses to run as root: a root test run starts that desktop as this unprivileged user.
if [[ $(id -u) -eq 0 ]] && ! getent passwd sysvane-e2e >/dev/null; then
  useradd --system --no-create-home --shell /usr/sbin/nologin sysvane-e2e
fi
