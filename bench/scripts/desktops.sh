# shellcheck shell=bash
# The tray desktops of the comparison, each on an Xvfb of its own: trayer alone (XEmbed, no session
# bus, as `make run` sets up a bare X server), and xfce4-panel with its notification area on a
# session bus of its own, as a D-Bus tray (its StatusNotifier watcher and host) or as an XEmbed
# tray (a bus on which nobody may own the watcher's name, so that the panel embeds icons).
# Sourced by compare.sh after processes.sh and x_session.sh.

DESKTOP_ENV=()   # the environment of the last desktop started, for the programs run in it
DESKTOP_HOST=()  # the pids of its tray host (xfce4-panel and the plugin processes it started)
DESKTOP_BUS=""   # the address of its session bus (empty on trayer)
DESKTOP_BUS_PID=""  # its bus daemon

# One panel across the bottom with the notification area at its right end, after an empty stretch.
XFCE_PANEL_CONFIG='<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0"><property name="configver" type="int" value="2"/>
<property name="panels" type="array"><value type="int" value="1"/><property name="panel-1" type="empty">
<property name="position" type="string" value="p=12;x=0;y=0"/><property name="length" type="uint" value="100"/>
<property name="position-locked" type="bool" value="true"/><property name="size" type="uint" value="27"/>
<property name="plugin-ids" type="array"><value type="int" value="2"/><value type="int" value="1"/></property>
</property></property><property name="plugins" type="empty"><property name="plugin-1" type="string" value="systray"/>
<property name="plugin-2" type="string" value="separator"><property name="expand" type="bool" value="true"/>
<property name="style" type="uint" value="0"/></property></property></channel>'

# Bus DEST PATH INTERFACE.METHOD ARGS...: a call on the desktop's bus, its reply printed.
Bus() {
  local dest=$1 path=$2 method=$3
  shift 3
  DBUS_SESSION_BUS_ADDRESS=$DESKTOP_BUS dbus-send --session --print-reply --dest="$dest" "$path" "$method" "$@" \
    2>/dev/null
}

# Owned NAME: whether a process owns the name on the desktop's bus.
Owned() {
  Bus org.freedesktop.DBus /org/freedesktop/DBus org.freedesktop.DBus.NameHasOwner "string:$1" | grep -q 'boolean true'
}

# BusPid NAME: the pid of the process that owns the name on the desktop's bus.
BusPid() {
  Bus org.freedesktop.DBus /org/freedesktop/DBus org.freedesktop.DBus.GetConnectionUnixProcessID "string:$1" |
    awk '/uint32/ { print $2 }'
}

# BusNamesOf PID: the unique names under which the process talks on the desktop's bus (Qt's own
# connection and the program's tray connection), separated by spaces; fails when there is none.
BusNamesOf() {
  local name names=()
  for name in $(Bus org.freedesktop.DBus /org/freedesktop/DBus org.freedesktop.DBus.ListNames |
    grep -o '":[0-9.]*"' | tr -d '"'); do
    [[ $(BusPid "$name") == "$1" ]] && names+=("$name")
  done
  ((${#names[@]})) && echo "${names[*]}"
}

# ChildrenOf PID: the pids of the processes whose parent it is.
ChildrenOf() {
  local stat
  for stat in /proc/[0-9]*/stat; do
    awk -v parent="$1" '{ sub(/.*\) /, ""); if ($2 == parent) { split(FILENAME, p, "/"); print p[3] } }' \
      "$stat" 2>/dev/null
  done
}

# WaitFor SECONDS DESCRIPTION COMMAND...: polls the command every 0.1 s until it succeeds.
WaitFor() {
  local seconds=$1 what=$2 tries
  shift 2
  for ((tries = 0; tries < seconds * 10; tries++)); do
    "$@" && return 0
    sleep 0.1
  done
  echo "compare.sh: $what did not come within $seconds s" >&2
  return 1
}

# StartDesktop KIND TAG: an Xvfb and, by KIND, its tray: "trayer", "xfce-dbus" or "xfce-xembed".
# Sets X_PID, X_DISPLAY, DESKTOP_ENV, DESKTOP_HOST and DESKTOP_BUS.
StartDesktop() {
  local kind=$1 root="$WORK/$2"
  mkdir -p "$root"/{home,config,cache,data,runtime}
  chmod 700 "$root/runtime"
  StartX
  DESKTOP_BUS=""
  DESKTOP_BUS_PID=""
  DESKTOP_ENV=(env -u DBUS_SESSION_BUS_ADDRESS -u WAYLAND_DISPLAY -u SESSION_MANAGER -u XDG_CURRENT_DESKTOP
    DISPLAY="$X_DISPLAY" HOME="$root/home" XDG_CONFIG_HOME="$root/config" XDG_CACHE_HOME="$root/cache"
    XDG_DATA_HOME="$root/data" XDG_RUNTIME_DIR="$root/runtime" QT_QPA_PLATFORM=xcb NO_AT_BRIDGE=1)
  if [[ $kind == trayer ]]; then
    StartTray "$X_DISPLAY"
    DESKTOP_HOST=("$STARTED_PID")
    return
  fi
  # The session bus first, in the desktop's environment: the panel's settings daemon (xfconfd)
  # is started by the bus and reads the panel's configuration from this desktop's folders.
  local deny=""
  [[ $kind == xfce-xembed ]] && deny='<deny own="org.kde.StatusNotifierWatcher"/>'
  cat >"$root/bus.conf" <<CONF
<busconfig><type>session</type><listen>unix:path=$root/bus</listen><standard_session_servicedirs/>
<policy context="default"><allow user="*"/><allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/>
<allow own="*"/>$deny</policy></busconfig>
CONF
  DESKTOP_ENV+=(XDG_CURRENT_DESKTOP=XFCE)
  Launch "${DESKTOP_ENV[@]}" dbus-daemon --nofork --config-file="$root/bus.conf"
  # shellcheck disable=SC2034  # read by compare.sh
  DESKTOP_BUS_PID=$STARTED_PID
  WaitFor 20 "the session bus of $X_DISPLAY" test -S "$root/bus" || exit 1
  DESKTOP_BUS="unix:path=$root/bus"
  DESKTOP_ENV+=(DBUS_SESSION_BUS_ADDRESS="$DESKTOP_BUS")
  mkdir -p "$root/config/xfce4/xfconf/xfce-perchannel-xml"
  printf '%s\n' "$XFCE_PANEL_CONFIG" >"$root/config/xfce4/xfconf/xfce-perchannel-xml/xfce4-panel.xml"
  Launch "${DESKTOP_ENV[@]}" xfce4-panel --disable-wm-check
  local panel=$STARTED_PID
  WaitFor 60 "xfce4-panel's notification area on $X_DISPLAY" TraySelectionOwned "$X_DISPLAY" || exit 1
  if [[ $kind == xfce-dbus ]]; then
    WaitFor 60 "xfce4-panel's StatusNotifier watcher" Owned org.kde.StatusNotifierWatcher || exit 1
  fi
  # The plugin runs in a process of its own, and the settings daemon in another: both are ended
  # with the desktop, and the plugin's time is the host's.
  local pid
  DESKTOP_HOST=("$panel")
  for pid in $(ChildrenOf "$panel"); do
    DESKTOP_HOST+=("$pid")
    Adopt "$pid"
  done
  pid=$(BusPid org.xfce.Xfconf)
  [[ -n $pid ]] && Adopt "$pid"
  return 0
}

# TraySelectionOwned DISPLAY: whether an XEmbed tray owns the screen's tray selection.
TraySelectionOwned() {
  DISPLAY=$1 python3 -c '
import ctypes, ctypes.util, sys
x = ctypes.CDLL(ctypes.util.find_library("X11"))
x.XOpenDisplay.restype = ctypes.c_void_p
d = ctypes.c_void_p(x.XOpenDisplay(None))
if not d: sys.exit(1)
x.XInternAtom.restype = ctypes.c_ulong
atom = x.XInternAtom(d, b"_NET_SYSTEM_TRAY_S0", 0)
x.XGetSelectionOwner.restype = ctypes.c_ulong
sys.exit(0 if x.XGetSelectionOwner(d, ctypes.c_ulong(atom)) else 1)' 2>/dev/null
}

# HostPids: the tray host's processes of the last desktop, as "pid pid ...".
HostPids() { echo "${DESKTOP_HOST[*]}"; }
