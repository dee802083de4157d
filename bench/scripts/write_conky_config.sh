#!/usr/bin/env bash
# conky's configuration for the comparison: the template of bench/conky with the battery (when
# the rows have one) and an fs_bar line per drive row in place of its marker.
# Usage: write_conky_config.sh ROWS_FILE CONKY_FOLDER > conky.conf
set -euo pipefail
shopt -u patsub_replacement 2>/dev/null || true  # '&' in a mount point stays a '&'
rows_file=$1
folder=$2

# conky names the battery as the kernel does: the first power supply of type Battery.
battery_name() {
  local supply
  for supply in "${POWER_SUPPLY_DIR:-/sys/class/power_supply}"/*; do
    [[ $(cat "$supply/type" 2>/dev/null) == Battery ]] && { basename "$supply"; return; }
  done
  echo BAT0
}

battery_line=$(<"$folder/battery_bar_line.in")
drive_line=$(<"$folder/fs_bar_line.in")
while IFS= read -r line; do
  if [[ $line != @BATTERY_AND_DRIVES@* ]]; then
    printf '%s\n' "$line"
    continue
  fi
  while read -r kind letter mount; do
    case $kind in
      battery)
        name=$(battery_name)
        printf '%s\n' "${battery_line//@BATTERY@/$name}" ;;
      drive)
        text=${drive_line//@LETTER@/$letter}
        printf '%s\n' "${text//@MOUNT@/$mount}" ;;
    esac
  done <"$rows_file"
  printf '%s\n' "${line#@BATTERY_AND_DRIVES@}"
done <"$folder/monitor.conky.in"
