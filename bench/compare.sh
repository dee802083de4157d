#!/usr/bin/env bash
# Sysvane's cost side by side with its peers: conky, gkrellm and the Qt floor (a bare Qt 6
# program doing the Monitor window's job), each refreshing every 0.9 s on this machine.
#
# Parts (all by default; --only picks some):
#  peers, per run:
#   1. side by side: one Xvfb with a tray host (trayer) and the four programs; after the warm-up,
#      each program's CPU time and wake-ups over the steady period and its memory at the end;
#   2. the X server's share: each program alone on a fresh Xvfb with its own tray host (plus one
#      Xvfb with the tray host only, the idle cost), all in the same period; each Xvfb's CPU time.
#  tray, per run: Sysvane with its icon only (the Monitor window closed), each on a desktop of its
#   own: trayer (XEmbed, no session bus), and xfce4-panel as a D-Bus tray and as an XEmbed tray,
#   each with the program's icon and with the live CPU figure (TrayIcon=1). The program's CPU and
#   wake-ups, its X server's CPU, the tray host's CPU, and the bus messages to or from the program.
#  counters, once (they do not move with the machine's load): each program alone again, with
#   xtrace between it and its X server, and Sysvane on each tray desktop the same way: the X
#   requests, the replies (round trips) and the requests that put pixels on the screen.
#  startup: process start to the tray icon embedded (splash off) and to the Monitor window mapped
#   (ShowStatsAtStartup on), median of 5 each, and the Qt floor's first window.
# Memory: VmRSS, and Pss and Private_Dirty (smaps_rollup), which leave out the shared library pages.
#
# The Markdown table goes to stdout and to build/bench/compare.md (raw figures: compare.tsv).
# Everything runs on this machine; every process started here is ended by its id on exit.
set -euo pipefail

usage() {
  cat <<'EOF'
Usage: bench/compare.sh [--only PARTS] [--runs N] [--seconds S] [--warmup W] [--starts K] [--build DIR] [--no-build]
  --only PARTS  a comma-separated choice of peers, tray, counters, startup (default: all of them)
  --runs N      measured runs (default 3)
  --seconds S   steady period of each run, in seconds (default 60)
  --warmup W    seconds between starting the programs and measuring (default 10)
  --starts K    start-up trials of each kind (default 5)
  --build DIR   CMake build folder of the project (default: build/ of the repository)
  --no-build    use the executables already built in DIR
Example of a short trial: bench/compare.sh --runs 1 --seconds 10
The tray-only day alone: bench/compare.sh --only tray,counters
EOF
}

REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
SCRIPTS="$REPO/bench/scripts"
RUNS=3
STEADY=60
WARMUP=10
STARTS=5
BUILD="$REPO/build"
DO_BUILD=1
PARTS=peers,tray,counters,startup
while (($#)); do
  case "$1" in
    --only) PARTS=$2; shift 2 ;;
    --runs) RUNS=$2; shift 2 ;;
    --seconds) STEADY=$2; shift 2 ;;
    --warmup) WARMUP=$2; shift 2 ;;
    --starts) STARTS=$2; shift 2 ;;
    --build) BUILD=$(realpath -m "$2"); shift 2 ;;
    --no-build) DO_BUILD=0; shift ;;
    -h | --help) usage; exit 0 ;;
    *) usage >&2; exit 2 ;;
  esac
done
for number in "$RUNS" "$STEADY" "$WARMUP" "$STARTS"; do
  [[ $number =~ ^[0-9]+$ && $number -gt 0 ]] || { echo "compare.sh: '$number' is not a positive whole number" >&2; exit 2; }
done

for part in ${PARTS//,/ }; do
  [[ $part =~ ^(peers|tray|counters|startup)$ ]] || { echo "compare.sh: no part '$part'" >&2; usage >&2; exit 2; }
done
Part() { [[ ,$PARTS, == *,$1,* ]]; }

OUT_DIR="$REPO/build/bench"
mkdir -p "$OUT_DIR"
WORK=$(mktemp -d "${TMPDIR:-/tmp}/sysvane-compare.XXXXXX")
TSV="$WORK/figures.tsv"
STARTUP_TSV="$WORK/startup.tsv"
: >"$TSV"
: >"$STARTUP_TSV"

# shellcheck source=bench/scripts/processes.sh
source "$SCRIPTS/processes.sh"
# shellcheck source=bench/scripts/x_session.sh
source "$SCRIPTS/x_session.sh"
# shellcheck source=bench/scripts/desktops.sh
source "$SCRIPTS/desktops.sh"
# On the way out: every process ended; the logs of a failed comparison kept for a look.
Finish() {
  local status=$?
  StopAll
  if ((status != 0)) && [[ -d $WORK ]]; then
    rm -rf "$OUT_DIR/compare-logs"
    cp -r "$WORK" "$OUT_DIR/compare-logs" 2>/dev/null || true
    echo "compare.sh: failed; its logs are in $OUT_DIR/compare-logs" >&2
  fi
  rm -rf "$WORK"
}
trap Finish EXIT
trap 'exit 130' INT TERM

say() { echo "compare.sh: $*" >&2; }

# --- Tools ---------------------------------------------------------------------------------
"$SCRIPTS/install_tools.sh"

# --- Programs ------------------------------------------------------------------------------
if ((DO_BUILD)); then
  if [[ ! -f $BUILD/CMakeCache.txt ]]; then
    cmake -S "$REPO" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release >&2
  fi
  cmake --build "$BUILD" -j2 --target sysvane_qt_floor >&2
  if cmake --build "$BUILD" --target help | grep -qw sysvane; then
    cmake --build "$BUILD" -j2 --target sysvane >&2 || say "sysvane does not build: measuring the peers only"
  fi
fi
FLOOR="$BUILD/bench/qt_floor/sysvane_qt_floor"
SYSVANE="$BUILD/shell/sysvane"
[[ -x $FLOOR ]] || { say "no $FLOOR: build it first (it needs Google Benchmark's package, libbenchmark-dev)"; exit 1; }
[[ -x $SYSVANE ]] || { say "no $SYSVANE: Sysvane's rows stay empty"; SYSVANE=""; }

# --- What every program shows: the Qt floor's rows, lettered as Sysvane letters them ---------
ROWS_FILE="$WORK/rows.txt"
"$FLOOR" --rows >"$ROWS_FILE"
"$SCRIPTS/write_settings.sh" "$ROWS_FILE" 1 >"$WORK/sysvane-monitor.conf"
"$SCRIPTS/write_settings.sh" "$ROWS_FILE" 0 >"$WORK/sysvane-tray.conf"
"$SCRIPTS/write_settings.sh" "$ROWS_FILE" 0 1 >"$WORK/sysvane-live.conf"
"$SCRIPTS/write_conky_config.sh" "$ROWS_FILE" "$REPO/bench/conky" >"$WORK/conky.conf"
ROW_NAMES=$(awk '
  $1 == "cpu" { $0 = "CPU" } $1 == "physical" { $0 = "physical memory" }
  $1 == "virtual" { $0 = "virtual memory" } $1 == "drive" { $0 = "drive " $2 " (" $3 ")" }
  { names = names (NR > 1 ? ", " : "") $0 } END { print names }' "$ROWS_FILE")
say "rows: $ROW_NAMES"

PROGRAMS=(conky gkrellm floor)
[[ -n $SYSVANE ]] && PROGRAMS=(sysvane "${PROGRAMS[@]}")

# StartProgram NAME DISPLAY TAG [monitor|tray|live]: starts one program on a display (Sysvane with
# the Monitor window at start-up, with the tray icon only, or with the live CPU figure as its
# icon); sets STARTED_PID. In the environment of PROGRAM_ENV when it is set (a tray desktop's),
# else in one without a session bus.
StartProgram() {
  local name=$1 display=$2 tag=$3 variant=${4:-monitor}
  local private="$WORK/$tag"
  mkdir -p "$private/runtime" "$private/home"
  chmod 700 "$private/runtime"
  local -a env
  if ((${#PROGRAM_ENV[@]})); then
    env=("${PROGRAM_ENV[@]}" DISPLAY="$display")
  else
    # No session bus: Qt docks its icon in the tray host of this display, not in the user's panel.
    env=(env -u DBUS_SESSION_BUS_ADDRESS -u WAYLAND_DISPLAY -u SESSION_MANAGER
      DISPLAY="$display" XDG_RUNTIME_DIR="$private/runtime" QT_QPA_PLATFORM=xcb HOME="$private/home")
  fi
  case $name in
    sysvane)
      mkdir -p "$private/config/Sysvane"
      cp "$WORK/sysvane-$variant.conf" "$private/config/Sysvane/Sysvane.conf"
      chmod 600 "$private/config/Sysvane/Sysvane.conf"
      Launch "${env[@]}" XDG_CONFIG_HOME="$private/config" "$SYSVANE" ;;
    conky)
      Launch "${env[@]}" conky -q -c "$WORK/conky.conf" ;;
    gkrellm)
      # An empty configuration: the default panels, without the first-run introduction.
      local home
      home=$(printf '%s\n' "${env[@]}" | sed -n 's/^HOME=//p' | tail -1)
      mkdir -p "$home/.gkrellm2"
      : >"$home/.gkrellm2/user-config"
      Launch "${env[@]}" gkrellm ;;
    floor)
      Launch "${env[@]}" "$FLOOR" ;;
  esac
}
PROGRAM_ENV=()

# --- Measuring -------------------------------------------------------------------------------
CLK_TCK=$(getconf CLK_TCK)
declare -A TRACE_OF=()  # program -> its xtrace log, for the counters
declare -A BUS_OF=()    # program -> "bus-address bus-name", for the bus messages

# Emit RUN PHASE PROGRAM KIND METRIC VALUE: one figure of the run.
Emit() { printf '%s\t%s\t%s\t%s\t%s\t%s\n' "$@" >>"$TSV"; }

# StartBusCount PROGRAM: dbus-monitor on the program's bus, for the messages from or to it.
StartBusCount() {
  local -a words rules=()
  read -r -a words <<<"${BUS_OF[$1]}"
  local name
  for name in "${words[@]:1}"; do rules+=("sender='$name'" "destination='$name'"); done
  dbus-monitor --address "${words[0]}" --profile "${rules[@]}" >"$WORK/bus-$1.log" 2>&1 &
  Adopt $!
  BUS_MONITOR[$1]=$!
}
declare -A BUS_MONITOR=()

# Measure RUN ENTRY...: the figures of each entry over the steady period, per minute.
#   An entry is phase:program:kind:pids (kind "process", "xserver" or "host"; pids separated by
#   commas, whose figures are added up). Memory is that of a process; the X requests of a
#   program with a log in TRACE_OF, the bus messages of one in BUS_OF.
Measure() {
  local run=$1
  shift
  local -a entries=("$@") before=()
  local entry program phase kind pids
  for program in "${!BUS_OF[@]}"; do StartBusCount "$program"; done
  ((${#BUS_OF[@]})) && sleep 1  # the monitors are listening
  declare -A trace_from=()
  for program in "${!TRACE_OF[@]}"; do trace_from[$program]=$(stat -c %s "${TRACE_OF[$program]}"); done
  for entry in "${entries[@]}"; do before+=("$(Counters "${entry##*:}")"); done
  local start=${EPOCHREALTIME/./}
  sleep "$STEADY"
  local -a after=() memory=()
  for entry in "${entries[@]}"; do
    after+=("$(Counters "${entry##*:}")")
    IFS=: read -r _ _ kind pids <<<"$entry"
    if [[ $kind == process ]] && Alive "$pids"; then memory+=("$(MemoryKb "$pids")"); else memory+=(""); fi
  done
  local elapsed_us=$((${EPOCHREALTIME/./} - start))
  declare -A trace_to=()
  for program in "${!TRACE_OF[@]}"; do trace_to[$program]=$(stat -c %s "${TRACE_OF[$program]}"); done
  for program in "${!BUS_MONITOR[@]}"; do kill "${BUS_MONITOR[$program]}" 2>/dev/null || true; done
  # per_minute COUNT [DIGITS]: the count over the measured period, scaled to a minute.
  per_minute() { awk -v n="$1" -v us="$elapsed_us" -v d="${2:-1}" 'BEGIN { printf "%.*f", d, n * 60e6 / us }'; }
  local i
  for i in "${!entries[@]}"; do
    IFS=: read -r phase program kind pids <<<"${entries[$i]}"
    if [[ ${before[$i]%%,*} != "${pids%%,*}" || ${after[$i]%%,*} != "${pids%%,*}" ]]; then
      say "run $run: $program ($phase, $kind) did not last the period"
      continue
    fi
    local ticks ns wakeups
    read -r ticks ns wakeups <<<"$(CounterDeltas "${before[$i]}" "${after[$i]}")"
    # CPU milliseconds per minute: ticks / CLK_TCK seconds; the same from the scheduler's ns.
    Emit "$run" "$phase" "$program" "$kind" cpu "$(per_minute "$((ticks * 1000 / CLK_TCK))")"
    Emit "$run" "$phase" "$program" "$kind" cpu_ns "$(per_minute "$((ns / 1000))" 4 | awk '{ printf "%.2f", $1 / 1000 }')"
    Emit "$run" "$phase" "$program" "$kind" wakeups "$(per_minute "$wakeups")"
    if [[ -n ${memory[$i]} ]]; then
      local rss hwm pss dirty
      IFS=$'\t' read -r rss hwm pss dirty <<<"${memory[$i]}"
      Emit "$run" "$phase" "$program" "$kind" rss "$rss"
      Emit "$run" "$phase" "$program" "$kind" hwm "$hwm"
      Emit "$run" "$phase" "$program" "$kind" pss "$pss"
      Emit "$run" "$phase" "$program" "$kind" dirty "$dirty"
    fi
    if [[ $kind == process && -n ${TRACE_OF[$program]:-} ]]; then
      local requests replies uploads copies
      read -r requests replies uploads copies <<<"$(TraceCounts "${TRACE_OF[$program]}" \
        "${trace_from[$program]}" "${trace_to[$program]}")"
      Emit "$run" "$phase" "$program" "$kind" xrequests "$(per_minute "$requests")"
      Emit "$run" "$phase" "$program" "$kind" xreplies "$(per_minute "$replies")"
      Emit "$run" "$phase" "$program" "$kind" xuploads "$(per_minute "$uploads")"
      Emit "$run" "$phase" "$program" "$kind" xcopies "$(per_minute "$copies")"
    fi
    if [[ $kind == process && -n ${BUS_MONITOR[$program]:-} ]]; then
      # Lines of --profile: type, time, serial, sender, destination...; the monitor's own
      # NameAcquired and NameLost are for none of the program's names.
      local sent
      sent=$(awk -F '\t' -v names=" ${BUS_OF[$program]#* } " \
        'index(names, " " $4 " ") || index(names, " " $5 " ") { n++ } END { print n + 0 }' \
        "$WORK/bus-$program.log")
      Emit "$run" "$phase" "$program" "$kind" busmessages "$(per_minute "$sent")"
    fi
  done
  TRACE_OF=()
  BUS_OF=()
  BUS_MONITOR=()
}

# --- Tray desktops ---------------------------------------------------------------------------
# Each as desktop:icon, "program" the program's own icon, "live" the CPU figure.
TRAY_ROWS=(trayer:program xfce-dbus:program xfce-dbus:live xfce-xembed:program xfce-xembed:live)

# ShownBy DESKTOP PID DISPLAY: whether the desktop's tray shows the program's icon: registered
# with the D-Bus watcher, or its window embedded below the top level.
ShownBy() {
  if [[ $1 == xfce-dbus ]]; then
    local name names items
    names=$(BusNamesOf "$2") || return 1
    items=$(Bus org.kde.StatusNotifierWatcher /StatusNotifierWatcher org.freedesktop.DBus.Properties.Get \
      string:org.kde.StatusNotifierWatcher string:RegisteredStatusNotifierItems)
    for name in $names; do [[ $items == *"\"$name"* ]] && return 0; done
    return 1
  else
    DISPLAY=$3 xwininfo -root -tree 2>/dev/null | grep -qE '^ {8,}0x[0-9a-f]+ .*\("sysvane" '
  fi
}

# StartTrayRows PHASE TRACED: every tray row on its desktop; with TRACED 1, xtrace between the
# program and its X server. Sets ENTRIES.
StartTrayRows() {
  local phase=$1 traced=$2 row desktop icon tag display
  local -a shown=()
  ENTRIES=()
  for row in "${TRAY_ROWS[@]}"; do
    desktop=${row%:*} icon=${row#*:} tag="r$run-$phase-$desktop-$icon"
    StartDesktop "$desktop" "$tag-desktop"
    display=$X_DISPLAY
    if ((traced)); then
      StartTrace "$X_DISPLAY"
      display=$TRACE_DISPLAY
    fi
    PROGRAM_ENV=("${DESKTOP_ENV[@]}")
    StartProgram sysvane "$display" "$tag" "$([[ $icon == live ]] && echo live || echo tray)"
    PROGRAM_ENV=()
    local name="tray-$desktop-$icon"
    ENTRIES+=("$phase:$name:process:$STARTED_PID" "$phase:$name:xserver:$X_PID"
      "$phase:$name:host:$(HostPids | tr ' ' ,)")
    [[ -n $DESKTOP_BUS_PID ]] && ENTRIES+=("$phase:$name:bus:$DESKTOP_BUS_PID")
    ((traced)) && TRACE_OF[$name]=$TRACE_LOG
    shown+=("$desktop $STARTED_PID $X_DISPLAY $DESKTOP_BUS $name")
  done
  local desktop pid bus
  for row in "${shown[@]}"; do
    read -r desktop pid display bus name <<<"$row"
    if ! DESKTOP_BUS=$bus WaitFor 30 "$name's icon in its tray" ShownBy "$desktop" "$pid" "$display"; then
      say "run $run: $name: the tray does not show the icon"
    fi
    if [[ -n $bus ]] && ((!traced)); then
      local names
      names=$(DESKTOP_BUS=$bus BusNamesOf "$pid") && BUS_OF[$name]="$bus $names"
    fi
  done
}

# --- The steady-state runs -------------------------------------------------------------------
LOAD_BEFORE=$(cut -d' ' -f1-3 /proc/loadavg)
for ((run = 1; run <= RUNS; run++)); do
  if Part peers; then
    say "run $run of $RUNS: side by side on one X server"
    StartX
    shared_x=$X_PID shared_display=$X_DISPLAY
    StartTray "$shared_display"
    entries=("shared:(shared X server):xserver:$shared_x")
    for program in "${PROGRAMS[@]}"; do
      StartProgram "$program" "$shared_display" "r$run-shared-$program"
      entries+=("shared:$program:process:$STARTED_PID")
    done
    sleep "$WARMUP"
    if [[ -n $SYSVANE ]] && ! WindowMapped "$shared_display" '^ Sysvane$'; then
      say "run $run: Sysvane's Monitor window is not open: its figures are not those of the Monitor window"
    fi
    Measure "$run" "${entries[@]}"
    StopAll

    say "run $run of $RUNS: each program alone on its own X server"
    entries=()
    for program in idle "${PROGRAMS[@]}"; do
      StartX
      StartTray "$X_DISPLAY"
      entries+=("alone:$program:xserver:$X_PID")
      if [[ $program != idle ]]; then
        StartProgram "$program" "$X_DISPLAY" "r$run-alone-$program"
        entries+=("alone:$program:process:$STARTED_PID")
      fi
    done
    sleep "$WARMUP"
    Measure "$run" "${entries[@]}"
    StopAll
  fi
  if Part tray && [[ -n $SYSVANE ]]; then
    say "run $run of $RUNS: the tray-only day, each on a desktop of its own"
    StartTrayRows tray 0
    sleep "$WARMUP"
    Measure "$run" "${ENTRIES[@]}"
    StopAll
  fi
done

if Part counters; then
  say "counters: every program behind xtrace"
  run=1
  entries=()
  for program in "${PROGRAMS[@]}"; do
    StartX
    StartTray "$X_DISPLAY"
    StartTrace "$X_DISPLAY"
    StartProgram "$program" "$TRACE_DISPLAY" "counters-$program"
    entries+=("counters:$program:process:$STARTED_PID")
    TRACE_OF[$program]=$TRACE_LOG
  done
  if [[ -n $SYSVANE ]]; then
    StartTrayRows counters 1
    entries+=("${ENTRIES[@]}")
  fi
  sleep "$WARMUP"
  Measure 1 "${entries[@]}"
  StopAll
fi

# --- Start-up --------------------------------------------------------------------------------
# StartupTrial KIND PROGRAM VARIANT TRIAL: one start on a fresh session; appends milliseconds.
StartupTrial() {
  local kind=$1 program=$2 variant=$3 trial=$4
  StartX
  StartTray "$X_DISPLAY"
  local panel
  panel=$(TrayPanel "$X_DISPLAY")
  local launched=${EPOCHREALTIME/./} now
  StartProgram "$program" "$X_DISPLAY" "start-$kind-$trial" "$variant"
  local pid=$STARTED_PID deadline=$((launched + 20000000))
  while :; do
    now=${EPOCHREALTIME/./}
    case $kind in
      tray) Embedded "$X_DISPLAY" "$panel" sysvane && break ;;
      monitor) WindowMapped "$X_DISPLAY" '^ Sysvane$' && break ;;
      floor) WindowMapped "$X_DISPLAY" '^Qt floor$' && break ;;
    esac
    if ((now > deadline)) || ! Alive "$pid"; then
      say "start-up ($kind) trial $trial: no result"
      StopAll
      return
    fi
    sleep 0.005
  done
  printf '%s\t%s\t%s\n' "$kind" "$trial" "$(((now - launched) / 1000))" >>"$STARTUP_TSV"
  StopAll
}

for ((trial = 1; trial <= STARTS; trial++)); do
  Part startup || break
  say "start-up trial $trial of $STARTS"
  if [[ -n $SYSVANE ]]; then
    StartupTrial tray sysvane tray "$trial"
    StartupTrial monitor sysvane monitor "$trial"
  fi
  StartupTrial floor floor monitor "$trial"
done

LOAD_AFTER=$(cut -d' ' -f1-3 /proc/loadavg)

# --- Report ----------------------------------------------------------------------------------
cp "$TSV" "$OUT_DIR/compare.tsv"
cp "$STARTUP_TSV" "$OUT_DIR/compare-startup.tsv"
python3 "$SCRIPTS/compare_report.py" --figures "$TSV" --startup "$STARTUP_TSV" \
  --parts "$PARTS" --runs "$RUNS" --seconds "$STEADY" --warmup "$WARMUP" --rows "$ROW_NAMES" \
  --load "$LOAD_BEFORE before, $LOAD_AFTER after" | tee "$OUT_DIR/compare.md"
say "table written to $OUT_DIR/compare.md"
