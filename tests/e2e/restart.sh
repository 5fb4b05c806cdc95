#!/usr/bin/env bash
# Close and restart: the pattern, the flags and the placement come back; a
# window closed while maximised comes back maximised.
source "$(dirname "$0")/lib.sh"

reset_key
start_main || exit 1
dlg="$(open_from_menu_button Ustawienia Settings)"
drv updown "$dlg" "Breath in for" up 3 >/dev/null
drv click "$dlg" "enable sounds" >/dev/null
expect "changed in the dialog" "$(figures "$dlg")" "10.3 5.8 3.3 0.5 6.0 0.5"
# The caption's close button neither saves nor reloads: the edits stay live.
drv close "$dlg" >/dev/null
drv wait-gone Settings 3000 --pid "$E2E_PID" >/dev/null
drv click "$E2E_MAIN" "Menu  >>" >/dev/null
sleep 0.2
drv move "$E2E_MAIN" 100 200 102 470 >/dev/null
expect "moved" "$(fieldof rect "$(drv info "$E2E_MAIN")")" "100,200,102,470"
expect "closes" "$(close_main)" "exited code=0"
expect "pattern saved at close" "$(reg_get 'Breath In')" "REG_DWORD:33"
expect "flags saved at close" "$(reg_get 'Menu open') $(reg_get 'Enable sounds') $(reg_get 'Stay on top')" \
  "REG_DWORD:0 REG_DWORD:0 REG_DWORD:0"
expect "placement saved" \
  "$(reg_get RCLeft) $(reg_get RCTop) $(reg_get RCWidth) $(reg_get RCHeight) $(reg_get RCWindowState)" \
  "REG_DWORD:100 REG_DWORD:200 REG_DWORD:102 REG_DWORD:470 REG_BINARY:00"

start_main || exit 1
expect "placement back" "$(fieldof rect "$(drv info "$E2E_MAIN")")" "100,200,102,470"
ctl="$(drv controls "$E2E_MAIN")"
expect "menu stays folded" "$(grep -F 'text="Ustawienia"' <<<"$ctl" | field visible)" 0
expect "button caption after a start" "$(grep -c 'text="Menu  >>"' <<<"$ctl")" 1
drv click "$E2E_MAIN" "Menu  >>" >/dev/null
sleep 0.2
expect "first press opens the menu" "$(drv controls "$E2E_MAIN" | grep -c 'text="Menu <<"')" 1
expect "and widens the window" "$(fieldof rect "$(drv info "$E2E_MAIN")" | cut -d, -f3)" 229
dlg="$(open_from_menu_button Ustawienia Settings)"
expect "pattern back" "$(figures "$dlg")" "10.3 5.8 3.3 0.5 6.0 0.5"
expect "sounds flag back" "$(drv checked "$dlg" "enable sounds" | field checked)" 0
drv close "$dlg" >/dev/null
drv wait-gone Settings 3000 --pid "$E2E_PID" >/dev/null

drv show "$E2E_MAIN" max >/dev/null
expect "maximised" "$(fieldof zoomed "$(drv info "$E2E_MAIN")")" 1
expect "closes maximised" "$(close_main)" "exited code=0"
expect "state saved" "$(reg_get RCWindowState)" "REG_BINARY:02"
start_main || exit 1
expect "comes back maximised" "$(fieldof zoomed "$(drv info "$E2E_MAIN")")" 1
# Over the whole 1280 x 1024 display (it has no task bar), frame aside.
covers="$(fieldof rect "$(drv info "$E2E_MAIN")" |
  awk -F, '{ print ($1 <= 0 && $2 <= 0 && $1 + $3 >= 1280 && $2 + $4 >= 1024) ? "covers" : "short: " $0 }')"
expect "maximised over the work area" "$covers" covers
drv show "$E2E_MAIN" restore >/dev/null
expect "restores to its designed bounds" "$(fieldof rect "$(drv info "$E2E_MAIN")")" "416,115,229,480"
expect "and is no longer maximised" "$(fieldof zoomed "$(drv info "$E2E_MAIN")")" 0
expect "closes" "$(close_main)" "exited code=0"
