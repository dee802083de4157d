#!/usr/bin/env bash
# Runs Sysvane on a machine without a screen: a virtual X server, a tray host to hold the
# icon, and the program as this user (own home and settings). A picture of the virtual
# screen is saved every few seconds until Ctrl-C; only the processes started here are
# stopped then.
#   run-headless.sh PROGRAM SCREENSHOT_FOLDER
set -euo pipefail
program=$1
shots=$(mkdir -p "$2" && cd "$2" && pwd)
interval=${SYSVANE_SCREENSHOT_INTERVAL:-5}
keep=50

for tool in Xvfb trayer import; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/setup.sh" >&2; exit 1; }
done

work=$(mktemp -d)
pids=()
cleanup() {
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2>/dev/null || true
    wait "${pids[i]}" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'echo; echo "Stopping."; exit 130' INT
trap 'exit 143' TERM

# -displayfd: the server takes a free display number itself and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 300); do
  [[ -s $work/display ]] && break
  kill -0 "${pids[0]}" 2>/dev/null || { cat "$work/xvfb.log" >&2; exit 1; }
  sleep 0.1
done
[[ -s $work/display ]] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")"
unset WAYLAND_DISPLAY

trayer --edge bottom --align right --widthtype request --height 28 --iconspacing 2 \
  --transparent true --alpha 0 --tint 0x2e3440 --SetDockType true --SetPartialStrut true \
  >"$work/trayer.log" 2>&1 &
pids+=($!)

"$program" &
app=$!
pids+=($app)

mkdir -p "$shots"
rm -f "$shots"/screen-*.png "$shots/latest.png"
echo "Sysvane runs on the virtual display $DISPLAY (pid $app)."
echo "A screenshot every ${interval} s goes to $shots/ (latest.png is the newest). Ctrl-C stops."

sleep 1.5 # the first picture catches the splash screen
count=0
while kill -0 "$app" 2>/dev/null; do
  count=$((count + 1))
  shot=$(printf '%s/screen-%04d.png' "$shots" "$count")
  if import -window root "$shot" 2>/dev/null; then
    cp -f "$shot" "$shots/latest.png"
    echo "saved $shot"
  fi
  if ((count > keep)); then
    rm -f "$(printf '%s/screen-%04d.png' "$shots" $((count - keep)))"
  fi
  sleep "$interval"
done
wait "$app" && status=0 || status=$?
echo "Sysvane ended (exit code $status)."
