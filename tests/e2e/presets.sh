#!/usr/bin/env bash
# Ready-made patterns: "4-7-8 relaxing" chosen in the settings dialog's
# "Pattern:" list and saved with OK; then the bar breathes it: rising 4.0 s,
# full 7.0 s (the pause after breathing in, "Hold Out"), falling 8.0 s, and
# empty only until the next tick ("Hold In" is 0). Each phase within the
# allowance of check_phases (lib.sh).
source "$(dirname "$0")/lib.sh"

# pattern_entry WIN: the entry the dialog's list shows.
pattern_entry() { drv controls "$1" | grep 'class="ComboBox"' | field text; }

reset_key
start_main || exit 1
dlg="$(open_from_menu_button Ustawienia Settings)"
[ -n "$dlg" ] || { fail "the settings dialog did not open"; exit 1; }
expect "the list shows the stored pattern" "$(pattern_entry "$dlg")" "Default (6 per minute)"
expect "4-7-8 chosen" "$(drv select "$dlg" "4-7-8 relaxing" | field selected)" "4-7-8 relaxing"
# Figures: cycle, rate, breath in, hold in, breath out, hold out.
expect "its figures" "$(figures "$dlg")" "19.0 3.2 4.0 0.0 8.0 7.0"
expect "nothing saved before OK" "$(reg_get 'Breath In')" "REG_DWORD:30"
drv click "$dlg" OK >/dev/null
expect "OK closes" "$(drv wait-gone Settings 3000 --pid "$E2E_PID")" "gone"
expect "OK saves the four phases" \
  "$(reg_get 'Breath In') $(reg_get 'Hold In') $(reg_get 'Breath Out') $(reg_get 'Hold Out')" \
  "REG_DWORD:40 REG_DWORD:0 REG_DWORD:80 REG_DWORD:70"

# Every phase that starts from now on has the new length. The longest old
# phase still running (6.0 s) and one whole new cycle, from wherever it is
# first seen (19 s), fit in 27 s. The empty bar lasts a tick or two, so the
# bar is sampled every 5 ms to see it.
bar_samples 27000 "$E2E_OUT/478" 5
check_phases "$E2E_OUT/478" 4000 7000 8000 10 4

dlg="$(open_from_menu_button Ustawienia Settings)"
expect "the list shows the saved pattern" "$(pattern_entry "$dlg")" "4-7-8 relaxing"
drv updown "$dlg" "Hold in for" up 1 >/dev/null
expect "an arrow press makes it Custom" "$(pattern_entry "$dlg")" "Custom"
drv click "$dlg" Cancel >/dev/null
drv wait-gone Settings 3000 --pid "$E2E_PID" >/dev/null
expect "closes" "$(close_main)" "exited code=0"
