#!/usr/bin/env bash
# Bad settings data of every kind, one value at a time (missing, a string, too
# long, a QWORD, 0, -1, INT32_MIN, INT32_MAX), and the key present but empty:
# Lumeno starts, keeps running, breathes where the pattern lets it, and
# closes cleanly. The pattern values also go through the settings arrows,
# where a cycle or rate of 0 must not fail.
source "$(dirname "$0")/lib.sh"

for name in "Breath In" "Breath Out" "Hold In" "Hold Out" "Stay on top" "Menu open" "Enable sounds"; do
  for kind in $(bad_kinds); do
    ops=()
    for op in "${E2E_GOOD_SETTINGS[@]}" "${E2E_GOOD_PLACEMENT[@]}"; do
      [[ "$op" == *"|$name|"* ]] || ops+=("$op")
    done
    ops+=("$(bad_op "$kind" "$name")")
    # A flag of any content leaves the default pattern, and the bar moves.
    moves=0
    case "$name" in "Stay on top" | "Menu open" | "Enable sounds") moves=1 ;; esac
    survives "\"$name\" $kind" "$moves" "${ops[@]}"
  done
done
survives "key present but empty" 1 "create-key"

# Negative phases make a cycle or rate of -1, which the up arrow takes to 0.
reset_key
drv reg batch "set-dword|Breath In|-1" "set-dword|Breath Out|0" "set-dword|Hold In|0" \
  "set-dword|Hold Out|0" "set-dword|Stay on top|0" "set-dword|Menu open|1" "set-dword|Enable sounds|0" >/dev/null
start_main || exit 1
dlg="$(open_from_menu_button Ustawienia Settings)"
echo "figures for a cycle of -0.1 s: $(figures "$dlg")"
for row in "Cycle duration is" "It is"; do
  drv updown "$dlg" "$row" up 1 >/dev/null
  drv updown "$dlg" "$row" down 1 >/dev/null
  drv updown "$dlg" "$row" up 3 >/dev/null
  echo "after the arrows of \"$row\": $(figures "$dlg")"
done
expect "still running after a cycle of 0" "$(proc_exit "$E2E_PID" 0)" "running"
expect "still answering" "$(fieldof caption "$(drv info "$dlg")")" "Settings"
drv click "$dlg" OK >/dev/null
expect "closes" "$(close_main)" "exited code=0"
