#!/usr/bin/env bash
# Settings: a phase, the cycle and the rate changed with the arrows, the six
# figures after each; Cancel, OK and "Default settings" against the registry;
# the bar taking up a new pattern at the next phase boundary, not before.
source "$(dirname "$0")/lib.sh"

reset_key
start_main || exit 1
dlg="$(open_from_menu_button Ustawienia Settings)"
[ -n "$dlg" ] || { fail "the settings dialog did not open"; exit 1; }
pass "settings dialog opens from the side menu"
# Figures: cycle, rate, breath in, hold in, breath out, hold out.
expect "defaults shown" "$(figures "$dlg")" "10.0 6.0 3.0 0.5 6.0 0.5"

drv updown "$dlg" "Breath in for" up 5 >/dev/null
expect "breath in +0.5" "$(figures "$dlg")" "10.5 5.7 3.5 0.5 6.0 0.5"
# The down arrow stops at 0.1: 5 -> 4 -> 3 -> 2 -> 1 -> 1 -> 1.
drv updown "$dlg" "Hold in for" down 6 >/dev/null
expect "hold in down to 0.1" "$(figures "$dlg")" "10.1 5.9 3.5 0.1 6.0 0.5"
# Cycle 10.1 -> 11.5 s: exhale 60%, each hold 5%, the inhale takes the rest.
drv updown "$dlg" "Cycle duration is" up 14 >/dev/null
expect "cycle 11.5 split" "$(figures "$dlg")" "11.5 5.2 3.4 0.6 6.9 0.6"
# Rate 5.2 -> 5.4 a minute: cycle round(6000 / 54) = 111, split again.
drv updown "$dlg" "It is" up 2 >/dev/null
expect "rate 5.4 split" "$(figures "$dlg")" "11.1 5.4 3.2 0.6 6.7 0.6"
expect "nothing saved before OK" "$(reg_get 'Breath In') $(reg_get 'Breath Out')" "REG_DWORD:30 REG_DWORD:60"

drv click "$dlg" Cancel >/dev/null
expect "Cancel closes" "$(drv wait-gone Settings 3000 --pid "$E2E_PID")" "gone"
expect "Cancel saves nothing" "$(reg_get 'Breath In') $(reg_get 'Hold In')" "REG_DWORD:30 REG_DWORD:5"
dlg="$(open_from_menu_button Ustawienia Settings)"
expect "Cancel restored the stored pattern" "$(figures "$dlg")" "10.0 6.0 3.0 0.5 6.0 0.5"

# A change while the bar falls: that exhale keeps 6.0 s, the next takes 8.0 s.
move_aside "$dlg"
for _ in $(seq 1 120); do
  dir="$(drv bar-sample "$E2E_MAIN" 60 30 | awk '/^sample/ { split($3, f, "="); v[n++] = f[2] + 0 } END { r = (n > 1 && v[n-1] < v[0] && v[n-1] > 0) ? "down" : "other"; print r }')"
  [ "$dir" = down ] && break
  sleep 0.1
done
expect "caught the bar falling" "$dir" "down"
drv bar-sample "$E2E_MAIN" 18600 10 >"$E2E_OUT/change" &
sampler=$!
sleep 0.5
drv updown "$dlg" "Breath out for" up 20 >/dev/null
expect "breath out 8.0 shown" "$(figures "$dlg")" "12.0 5.0 3.0 0.5 8.0 0.5"
wait "$sampler"
phases "$E2E_OUT/change" | awk '$1 == "falling"' >"$E2E_OUT/falls"
# The first complete fall ended the exhale that was running (cut off at the
# start of sampling it is not counted), so look at what follows it.
falls="$(awk '{ printf "%s ", $2 }' "$E2E_OUT/falls")"
echo "exhales measured after the change: $falls"
within "the next exhale takes the new length" "$(awk 'NR == 1 { print $2 }' "$E2E_OUT/falls")" 8000 160
# The exhale that was running when the change came: it ended with its old
# length, so the bar first reached empty about (6000 - time already fallen)
# after sampling began, well before 8000 ms of falling.
first_empty="$(awk '/^sample/ { split($2, t, "="); split($3, f, "="); if (f[2] + 0 == 0) { print t[2] + 0; exit } }' "$E2E_OUT/change")"
expect_true "the running exhale kept its old length (empty at ${first_empty} ms)" \
  awk -v t="$first_empty" 'BEGIN { exit !(t > 0 && t < 6200) }'

drv click "$dlg" OK >/dev/null
expect "OK closes" "$(drv wait-gone Settings 3000 --pid "$E2E_PID")" "gone"
expect "OK saves the pattern" \
  "$(reg_get 'Breath In') $(reg_get 'Breath Out') $(reg_get 'Hold In') $(reg_get 'Hold Out')" \
  "REG_DWORD:30 REG_DWORD:80 REG_DWORD:5 REG_DWORD:5"

dlg="$(open_from_menu_button Ustawienia Settings)"
expect "the saved pattern shown" "$(figures "$dlg")" "12.0 5.0 3.0 0.5 8.0 0.5"
drv click "$dlg" "Default settings" >/dev/null
sleep 0.2
expect "Default settings shown" "$(figures "$dlg")" "10.0 6.0 3.0 0.5 6.0 0.5"
expect "Default settings saved at once" "$(reg_get 'Breath Out')" "REG_DWORD:60"
expect "the dialog stays open" "$(drv find Settings --pid "$E2E_PID" --wait 0 | field visible)" 1
drv click "$dlg" Cancel >/dev/null
drv wait-gone Settings 3000 --pid "$E2E_PID" >/dev/null
dlg="$(open_from_menu_button Ustawienia Settings)"
expect "Cancel after Default settings keeps the defaults" "$(figures "$dlg")" "10.0 6.0 3.0 0.5 6.0 0.5"
drv close "$dlg" >/dev/null
expect "closes" "$(close_main)" "exited code=0"
