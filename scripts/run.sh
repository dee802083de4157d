#!/usr/bin/env bash
# Starts the built program: on this machine's screen when it has one, otherwise on a
# virtual display whose pictures are saved into the build folder.
set -euo pipefail
build_dir=${1:-build}
path_file="$build_dir/sysvane-path.txt"
if [[ ! -s $path_file ]]; then
  echo "The build is done, but it holds no sysvane program with windows yet."
  exit 0
fi
program=$(<"$path_file")
if [[ -n ${DISPLAY:-} || -n ${WAYLAND_DISPLAY:-} ]]; then
  exec "$program"
fi
echo "No display here (neither DISPLAY nor WAYLAND_DISPLAY is set): starting a virtual one."
exec "$(dirname "$0")/run-headless.sh" "$program" "$build_dir/screenshots"
