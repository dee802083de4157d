#!/usr/bin/env bash
# Sysvane's settings file for the comparison: every statistic of the rows file switched on (the
# Qt floor's --rows output), no splash, no first-run Options dialog.
# Usage: write_settings.sh ROWS_FILE SHOW_STATS_AT_STARTUP(0|1) [TRAY_ICON(0|1|2)] > Sysvane.conf
#   TRAY_ICON: the program's icon (0, the default), the CPU figure (1), CPU and memory bars (2).
set -euo pipefail
rows_file=$1
show_stats=$2
tray_icon=${3:-0}

battery=0
drives=()
while read -r kind letter _mount; do
  case $kind in
    battery) battery=1 ;;
    drive) [[ $letter == C ]] || drives+=("$letter") ;;
  esac
done <"$rows_file"

cat <<CONF
[Settings]
Defined=Yes
ShowSplash=0
ShowStatsAtStartup=$show_stats
ShowOnTop=0
ShowCPU=1
ShowPhysMem=1
ShowVirtMem=1
ShowSysRsrc=0
ShowGDIRsrc=0
ShowUserRsrc=0
ShowBattery=$battery
ShowCdrive=1
TrayIcon=$tray_icon
CONF
for letter in "${drives[@]}"; do
  echo "Show${letter}drive=1"
done
