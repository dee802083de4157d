#!/usr/bin/env bash
# Installs with apt-get whatever Sysvane needs to build, test and run that is not installed
# yet. When everything is there it does nothing, quickly and without the network.
set -euo pipefail

packages=(
  # build
  build-essential cmake g++ pkg-config
  qt6-base-dev qt6-svg-dev libgl-dev libxcb1-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev googletest libbenchmark-dev clang-format python3
  # the start-up entry launched as a desktop launches it (gio)
  libglib2.0-bin
  # the end-to-end tests: a virtual X server, a hand on the mouse, a camera, and the desktops
  # they run on: tray hosts (trayer; xfce4-panel, by XEmbed and by D-Bus), window managers, a
  # session bus, and a Wayland compositor with XWayland (the Wayland platform plugin installed,
  # as on a desktop that has it)
  xvfb xauth xdotool x11-utils imagemagick fonts-dejavu-core
  trayer xfce4-panel xfwm4 openbox dbus-daemon dbus-bin weston xwayland qt6-wayland
  # the icon's pictures, the desktop entry and the Debian package (dpkg-shlibdeps)
  librsvg2-bin desktop-file-utils dpkg-dev
  # the fuzz targets: clang's libFuzzer and sanitizer runtimes
  clang libclang-rt-14-dev
)

exec "$(dirname "$0")/install-missing.sh" "${packages[@]}"
