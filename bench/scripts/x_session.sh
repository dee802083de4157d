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
