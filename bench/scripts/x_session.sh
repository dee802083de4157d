# shellcheck shell=bash
# X sessions of the comparison: an Xvfb on a display it finds free itself, a tray host on it,
# and the window queries the start-up figures poll. Sourced by compare.sh after processes.sh.

X_PID=""
X_DISPLAY=""

# StartX: a fresh Xvfb; sets X_PID and X_DISPLAY.
StartX() {
  local number_file="$WORK/display-$((${#PIDS[@]} + 1))"
  : >"$number_file"
  # -displayfd: the server takes the first free display and writes its number to descriptor 3.
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$number_file" >>"$WORK/xvfb.log" 2>&1 &
  X_PID=$!
  Adopt "$X_PID"
  local tries
  for ((tries = 0; tries < 200; tries++)); do
    [[ -s $number_file ]] && break
    Alive "$X_PID" || break
    sleep 0.05
  done
  [[ -s $number_file ]] || { echo "compare.sh: Xvfb did not start (see $WORK/xvfb.log)" >&2; exit 1; }
  # shellcheck disable=SC2034  # read by compare.sh
  X_DISPLAY=":$(tr -d '[:space:]' <"$number_file")"
}

# TrayPanel DISPLAY: the window id of trayer's panel, where docked icons are embedded.
TrayPanel() {
  DISPLAY=$1 xwininfo -root -tree 2>/dev/null | awk '/\("panel" "trayer"\)/ { print $1; exit }'
}

# StartTray DISPLAY: trayer at the bottom right, returning once its panel is on the screen. A
# loaded machine may take a while; a trayer that ended is started once more.
StartTray() {
  local attempt tries tray
  for ((attempt = 1; attempt <= 2; attempt++)); do
    Launch env DISPLAY="$1" trayer --edge bottom --align right --widthtype request --height 24 \
      --SetDockType true --transparent false
    tray=$STARTED_PID
    for ((tries = 0; tries < 600; tries++)); do
      [[ -n $(TrayPanel "$1") ]] && return 0
      Alive "$tray" || break
      sleep 0.05
    done
    echo "compare.sh: trayer did not start on $1 (attempt $attempt)" >&2
  done
  exit 1
}

# Embedded DISPLAY PANEL CLASS: whether a window of that class sits in the tray panel: the
# icon's own window, reparented into the socket the tray host made for it.
Embedded() {
  DISPLAY=$1 xwininfo -id "$2" -tree 2>/dev/null | grep -qF "(\"$3\" "
}

# WindowMapped DISPLAY NAME-REGEX: whether a window of that name is mapped.
WindowMapped() {
  [[ -n $(DISPLAY=$1 xdotool search --onlyvisible --name "$2" 2>/dev/null) ]]
}

TRACE_DISPLAY=""
TRACE_LOG=""

# StartTrace DISPLAY: xtrace as a display of its own in front of DISPLAY, writing every request,
# reply and event of the programs that connect to it; sets TRACE_DISPLAY and TRACE_LOG. Its
# display number is taken far above those Xvfb picks (-displayfd counts up from 0).
StartTrace() {
  local number socket
  for ((number = 640; number < 700; number++)); do
    socket=/tmp/.X11-unix/X$number
    [[ -e /tmp/.X$number-lock ]] && continue
    [[ -e $socket ]] || break
    # An ended xtrace leaves its socket behind: one of ours that nobody listens on is taken again.
    if [[ -O $socket ]] && ! ss -xlH | grep -qF " $socket "; then
      rm -f "$socket"
      break
    fi
  done
  ((number < 700)) || { echo "compare.sh: no free display from :640 to :699 for xtrace" >&2; exit 1; }
  # A log of its own each time: a display number taken again must not meet an earlier trace.
  TRACE_STARTS=$((${TRACE_STARTS:-0} + 1))
  TRACE_LOG="$WORK/xtrace-$TRACE_STARTS-$number.log"
  Launch xtrace -n -k -d "$1" -D ":$number" -o "$TRACE_LOG"
  local tries
  for ((tries = 0; tries < 100; tries++)); do
    [[ -S /tmp/.X11-unix/X$number ]] && break
    sleep 0.05
  done
  [[ -S /tmp/.X11-unix/X$number ]] || { echo "compare.sh: xtrace did not start on :$number" >&2; exit 1; }
  # shellcheck disable=SC2034  # read by compare.sh
  TRACE_DISPLAY=":$number"
}

# TraceCounts LOG FROM TO: "requests replies uploads copies" written to the log between the two
# byte offsets: every X request; the replies, each a request whose answer the program asked for
# (a round trip when it waits for it, as Xlib and Qt's synchronous calls do); the pictures sent
# (PutImage, MIT-SHM PutImage: the repaints as the X server sees them); and the copies between
# drawables (CopyArea, CopyPlane, DBE swaps), which put a picture drawn before on the screen.
TraceCounts() {
  tail -c "+$(($2 + 1))" "$1" | head -c "$(($3 - $2))" | awk '
    /^[0-9]+:<:/ { requests++; if (/PutImage/) uploads++; else if (/CopyArea|CopyPlane|SwapBuffers|PresentPixmap/) copies++ }
    /^[0-9]+:>:[0-9a-f]+: *[0-9]+: Reply/ { replies++ }
    END { printf "%d %d %d %d", requests, replies, uploads, copies }'
}
