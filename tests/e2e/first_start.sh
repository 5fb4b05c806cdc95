#!/usr/bin/env bash
# First start on a fresh account: the main window and its controls as
# designed, the seven settings written with their defaults, no placement yet;
# the bar rises at once; closing writes the placement.
source "$(dirname "$0")/lib.sh"

reset_key
expect "no key before the first start" "$(drv reg dump | head -n1)" "nokey"

start_main || exit 1
# The bar rises from the start (the first inhale lasts 3 s: check it first).
bar_samples 800 "$E2E_OUT/rise"
rise="$(awk '/^sample/ { split($3, f, "="); if (first == "") first = f[2]; last = f[2] } END { r = (last > first + 20) ? "rising" : first "->" last; print r }' "$E2E_OUT/rise")"
expect "bar rises at once" "$rise" "rising"
line="$(drv info "$E2E_MAIN")"
expect "caption" "$(fieldof caption "$line")" "Lumeno"
expect "bounds" "$(fieldof rect "$line")" "416,115,229,480"
style=$(( $(fieldof style "$line") )); ex=$(( $(fieldof exstyle "$line") ))
expect "tool window" "$(( (ex & 0x80) != 0 ))" 1
expect "sizable border" "$(( (style & 0x40000) != 0 ))" 1
expect "close button only" "$(( (style & 0x80000) != 0 )),$(( (style & 0x30000) != 0 ))" "1,0"
expect "not on top" "$(fieldof topmost "$line")" 0

IFS=, read -r cx cy cw ch <<<"$(fieldof client "$line")"
drv controls "$E2E_MAIN" >"$E2E_OUT/controls"
# control_at TEXT: the control's rect relative to the client area.
control_at() {
  local l r
  l="$(grep -F "text=\"$1\"" "$E2E_OUT/controls" | head -n1)"
  [ -n "$l" ] || { echo "absent"; return; }
  IFS=, read -r x y w h <<<"$(fieldof rect "$l")"
  echo "$((x - cx)),$((y - cy)),$w,$h"
}
# The bottom panel is 41 high with the menu button at top 8, centred under
# the bar: ((229 - 127) div 2) - (57 div 2) = 23.
expect "menu button" "$(control_at 'Menu  >>')" "23,$((ch - 41 + 8)),57,25"
# The side menu, docked right, 127 wide: buttons 99 x 25 at left 16.
menu_left=$((cw - 127))
expect "Instrukcja" "$(control_at Instrukcja)" "$((menu_left + 16)),14,99,25"
expect "Ustawienia" "$(control_at Ustawienia)" "$((menu_left + 16)),46,99,25"
expect "O programie" "$(control_at 'O programie')" "$((menu_left + 16)),80,99,25"
expect_true "side menu note" grep -qF 'Jeśli chcesz mieć' "$E2E_OUT/controls"
bar="$(drv bar "$E2E_MAIN" | head -n1)"
IFS=, read -r bx by bw bh <<<"$(fieldof rect "$bar")"
expect "bar fills the rest" "$((bx - cx)),$((by - cy)),$bw,$bh" "0,0,$((cw - 127)),$((ch - 41))"

expect "Breath In" "$(reg_get 'Breath In')" "REG_DWORD:30"
expect "Breath Out" "$(reg_get 'Breath Out')" "REG_DWORD:60"
expect "Hold In" "$(reg_get 'Hold In')" "REG_DWORD:5"
expect "Hold Out" "$(reg_get 'Hold Out')" "REG_DWORD:5"
expect "Stay on top" "$(reg_get 'Stay on top')" "REG_DWORD:0"
expect "Menu open" "$(reg_get 'Menu open')" "REG_DWORD:1"
expect "Enable sounds" "$(reg_get 'Enable sounds')" "REG_DWORD:1"
expect "only the seven settings" "$(reg_dump | wc -l)" 7


exitline="$(close_main)"
expect "closes" "$exitline" "exited code=0"
expect "RCLeft" "$(reg_get RCLeft)" "REG_DWORD:416"
expect "RCTop" "$(reg_get RCTop)" "REG_DWORD:115"
expect "RCWidth" "$(reg_get RCWidth)" "REG_DWORD:229"
expect "RCHeight" "$(reg_get RCHeight)" "REG_DWORD:480"
expect "RCWindowState" "$(reg_get RCWindowState)" "REG_BINARY:00"
expect "ZOrder" "$(reg_get ZOrder)" "REG_DWORD:0"
expect "RCDpi" "$(reg_get RCDpi)" "REG_DWORD:96"
