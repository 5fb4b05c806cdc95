#!/usr/bin/env bash
# Bad placement data of every kind: each bound as a string, too long, 0, -1,
# INT32_MIN, INT32_MAX; the window state missing, empty, too long, a DWORD, a
# string, 3 and 255; "ZOrder" 1, 256, INT32_MIN and a string; bounds far off
# the screen. Lumeno starts, keeps running and closes cleanly.
source "$(dirname "$0")/lib.sh"

with_placement() {  # CASE MOVES NAME OP: the good key with NAME replaced by OP
  local name="$3" op
  local ops=("${E2E_GOOD_SETTINGS[@]}")
  for op in "${E2E_GOOD_PLACEMENT[@]}"; do
    [[ "$op" == *"|$name|"* ]] || ops+=("$op")
  done
  [ -n "$4" ] && ops+=("$4")
  survives "$1" "$2" "${ops[@]}"
}

for name in RCLeft RCTop RCWidth RCHeight; do
  for kind in string too-long-binary zero negative int32-min int32-max; do
    with_placement "\"$name\" $kind" 0 "$name" "$(bad_op "$kind" "$name")"
  done
done
with_placement "\"RCWindowState\" missing" 1 RCWindowState ""
with_placement "\"RCWindowState\" empty" 1 RCWindowState "set-binary|RCWindowState|"
with_placement "\"RCWindowState\" two bytes" 1 RCWindowState "set-binary|RCWindowState|0200"
with_placement "\"RCWindowState\" as a DWORD" 1 RCWindowState "set-dword|RCWindowState|2"
with_placement "\"RCWindowState\" as a string" 1 RCWindowState "set-sz|RCWindowState|2"
with_placement "\"RCWindowState\" 3" 0 RCWindowState "set-binary|RCWindowState|03"
with_placement "\"RCWindowState\" 255" 0 RCWindowState "set-binary|RCWindowState|ff"
with_placement "\"RCWindowState\" minimised" 0 RCWindowState "set-binary|RCWindowState|01"
with_placement "\"ZOrder\" 1" 1 ZOrder "set-dword|ZOrder|1"
with_placement "\"ZOrder\" 256" 1 ZOrder "set-dword|ZOrder|256"
with_placement "\"ZOrder\" INT32_MIN" 1 ZOrder "set-dword|ZOrder|-2147483648"
with_placement "\"ZOrder\" as a string" 1 ZOrder "set-sz|ZOrder|1"
survives "far off the screen, left and top" 0 "${E2E_GOOD_SETTINGS[@]}" "set-dword|RCLeft|-30000" \
  "set-dword|RCTop|-30000" "set-dword|RCWidth|229" "set-dword|RCHeight|480" "set-binary|RCWindowState|00" \
  "set-dword|ZOrder|0"
survives "far off the screen, right and bottom" 0 "${E2E_GOOD_SETTINGS[@]}" "set-dword|RCLeft|30000" \
  "set-dword|RCTop|30000" "set-dword|RCWidth|229" "set-dword|RCHeight|480" "set-binary|RCWindowState|00" \
  "set-dword|ZOrder|0"
survives "huge and negative size" 0 "${E2E_GOOD_SETTINGS[@]}" "set-dword|RCLeft|0" \
  "set-dword|RCTop|0" "set-dword|RCWidth|2147483647" "set-dword|RCHeight|-2147483648" \
  "set-binary|RCWindowState|00"
