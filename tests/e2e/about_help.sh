#!/usr/bin/env bash
# The about window shows the version from the exe's version record; the
# instruction window shows the help text with its headings; the bar keeps
# breathing behind both.
source "$(dirname "$0")/lib.sh"

reset_key
start_main || exit 1
w="$(open_from_menu_button "O programie" About)"
[ -n "$w" ] || { fail "the about window did not open"; exit 1; }
ctl="$(drv controls "$w")"
expect "version text" "$(grep -c 'text="ver. 1.0  (Build: 1.2)"' <<<"$ctl")" 1
expect "product name" "$(grep -c 'text="Lumeno"' <<<"$ctl")" 1
expect "client area" "$(fieldof client "$(drv info "$w")" | cut -d, -f3,4)" "292,366"
move_aside "$w"
moving="$(bar_moving)"
expect "the bar breathes behind the modal window" "$moving" "moving"
drv click "$w" OK >/dev/null
expect "OK closes it" "$(drv wait-gone About 3000 --pid "$E2E_PID")" "gone"

w="$(open_from_menu_button Instrukcja "How to use?")"
[ -n "$w" ] || { fail "the instruction window did not open"; exit 1; }
help="$(drv controls "$w" | grep -i 'class="rich' | field hwnd)"
drv text "$help" | tr -d '\r' >"$E2E_OUT/help.txt"
expect "heading ODDYCHANIE - FIZJOLOGIA" "$(grep -cx 'ODDYCHANIE - FIZJOLOGIA' "$E2E_OUT/help.txt")" 1
expect "heading INSTRUKCJA" "$(grep -cx 'INSTRUKCJA' "$E2E_OUT/help.txt")" 1
echo "help text: $(wc -l <"$E2E_OUT/help.txt") lines, longest $(awk '{ if (length > m) m = length } END { print m }' "$E2E_OUT/help.txt") characters"
drv close "$w" >/dev/null
expect "the close button closes it" "$(drv wait-gone "How to use?" 3000 --pid "$E2E_PID")" "gone"
expect "closes" "$(close_main)" "exited code=0"
