#!/usr/bin/env bash
# Starts an installed Sysvane as a user whose options are saved (no splash, Monitor window at
# start-up, CPU shown) on a virtual X server of its own with a tray host, waits for the Monitor
# window " Sysvane" and the icon docked in the tray, then ends it with SIGTERM and checks that
# it closed by itself with status 0.
#   packaging/smoke_test.sh PROGRAM
# Exit status: 0 passed, 1 failed, 77 a tool it needs is missing.
set -euo pipefail

program=${1:?usage: smoke_test.sh PROGRAM}
# Slow machines (sanitizers, a loaded CI) may stretch every wait.
timeout_scale=${SYSVANE_TIMEOUT_SCALE:-1}

for tool in Xvfb trayer xdotool xwininfo xdpyinfo; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is missing (scripts/setup.sh installs it)"
    exit 77
  fi
done
if [[ ! -x $program ]]; then
  echo "FAIL: $program is not an executable file"
  exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/sysvane-smoke.XXXXXX")
xvfb_pid="" trayer_pid="" program_pid=""

# A process of ours that has ended stays a zombie until waited for: it does not count as alive.
alive() {
  local state
  state=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) || return 1
  [[ -n $state && $state != Z ]]
}

stop() {
  local pid=$1
  [[ -n $pid ]] || return 0
  kill -TERM "$pid" 2>/dev/null || return 0
  for _ in $(seq 50); do
    alive "$pid" || return 0
    sleep 0.1
  done
  kill -KILL "$pid" 2>/dev/null || true
}

cleanup() {
  stop "$program_pid"
  stop "$trayer_pid"
  stop "$xvfb_pid"
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

fail() {
  echo "FAIL: $*"
  for log in "$work"/*.log; do
    [[ -s $log ]] || continue
    echo "--- $(basename "$log")"
    tail -n 30 "$log"
  done
  exit 1
}

# wait_until SECONDS WHAT COMMAND...: polls COMMAND every tenth of a second until it succeeds.
wait_until() {
  local seconds=$(($1 * timeout_scale)) what=$2
  shift 2
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    ((SECONDS < deadline)) || fail "$what did not happen within ${seconds} s"
    sleep 0.1
  done
}

# ---- the display: Xvfb picks a free display number itself and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
display_reported() {
  alive "$xvfb_pid" || fail "Xvfb ended at start"
  grep -q '^[0-9][0-9]*$' "$work/display"
}
wait_until 30 "Xvfb reporting its display" display_reported
DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY
unset WAYLAND_DISPLAY XAUTHORITY
x_answers() { xdpyinfo >/dev/null 2>&1; }
wait_until 30 "the X server answering" x_answers

trayer --edge bottom --align right --widthtype request --height 28 --SetDockType true >"$work/trayer.log" 2>&1 &
trayer_pid=$!
tray_panel() { xdotool search --onlyvisible --class '^trayer$' 2>/dev/null | head -n 1; }
panel_mapped() { [[ -n $(tray_panel) ]]; }
wait_until 30 "trayer's panel being mapped" panel_mapped
panel=$(tray_panel)

# ---- the user: a home of its own whose options were saved once.
mkdir -p "$work/home" "$work/config/Sysvane" "$work/data" "$work/cache" "$work/runtime"
chmod 700 "$work/runtime"
cat >"$work/config/Sysvane/Sysvane.conf" <<'EOF'
[Settings]
Defined=Yes
ShowSplash=0
ShowStatsAtStartup=1
ShowCPU=1
EOF

# No session bus: the icon docks in the XEmbed tray host, as on a plain X desktop.
env -u DBUS_SESSION_BUS_ADDRESS -u SESSION_MANAGER -u QT_SCALE_FACTOR \
  HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb \
  "$program" >"$work/sysvane.log" 2>&1 &
program_pid=$!

running() { alive "$program_pid" || fail "the program ended before it showed"; }

# The Monitor window: a mapped top-level window of the program titled " Sysvane".
monitor_shown() {
  running
  local id
  for id in $(xdotool search --onlyvisible --all --pid "$program_pid" --name '^ Sysvane$' 2>/dev/null); do
    xwininfo -id "$id" -children 2>/dev/null | grep 'Parent window id: .*(the root window)' >/dev/null && return 0
  done
  return 1
}
wait_until 60 "the Monitor window \" Sysvane\" being mapped" monitor_shown

# The tray icon: a mapped window of the program inside trayer's panel, wider than a pixel.
icon_docked() {
  running
  local docked id hex width
  docked=$(xwininfo -id "$panel" -tree 2>/dev/null | grep -o '^ *0x[0-9a-f]*' | tr -d ' ') || return 1
  for id in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
    hex=$(printf '0x%x' "$id")
    grep -qx "$hex" <<<"$docked" || continue
    width=$(xwininfo -id "$hex" 2>/dev/null | sed -n 's/^ *Width: //p')
    [[ ${width:-0} -gt 1 ]] && return 0
  done
  return 1
}
wait_until 60 "the tray icon being docked in trayer" icon_docked
echo "the Monitor window is mapped and the icon is in the tray"

# ---- the end: SIGTERM closes the program in order (icon first, then every window).
kill -TERM "$program_pid"
ended() { ! alive "$program_pid"; }
wait_until 30 "the program ending after SIGTERM" ended
status=0
wait "$program_pid" || status=$?
program_pid=""
((status == 0)) || fail "the program ended with status $status after SIGTERM"
echo "PASS: $program started, showed its Monitor window and tray icon, and ended on SIGTERM"
