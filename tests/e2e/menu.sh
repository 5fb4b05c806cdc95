#!/usr/bin/env bash
# The side menu folds away and back (229 -> 102 -> 229, captions), the context
# menu opens every window and "Exit" saves like the close button; "Stay on
# top" stored makes the window top-most at the next start, not before.
source "$(dirname "$0")/lib.sh"

width() { fieldof rect "$(drv info "$E2E_MAIN")" | cut -d, -f3; }
barw() { fieldof rect "$(drv bar "$E2E_MAIN" | head -n1)" | cut -d, -f3; }
visible_control() { drv controls "$E2E_MAIN" | grep -F "text=\"$1\"" | field visible; }

reset_key
start_main || exit 1
expect "designed width" "$(width)" 229
bar_width="$(barw)"
drv click "$E2E_MAIN" "Menu  >>" >/dev/null
sleep 0.2
expect "folded width" "$(width)" 102
expect "folded caption" "$(drv controls "$E2E_MAIN" | grep -c 'text="Menu >>"')" 1
expect "side menu hidden" "$(visible_control Ustawienia)" 0
expect "bar keeps its width (folded)" "$(barw)" "$bar_width"
drv click "$E2E_MAIN" "Menu >>" >/dev/null
sleep 0.2
expect "unfolded width" "$(width)" 229
expect "unfolded caption" "$(drv controls "$E2E_MAIN" | grep -c 'text="Menu <<"')" 1
expect "side menu shown" "$(visible_control Ustawienia)" 1
expect "bar keeps its width (unfolded)" "$(barw)" "$bar_width"

drv rclick "$E2E_MAIN" >/dev/null
drv menu-items --items "$E2E_MENU_ITEMS" | sed 's/^/  context menu: /'
drv menu-pick Settings --items "$E2E_MENU_ITEMS" >/dev/null
w="$(dialog_window Settings)"
expect_true "context menu opens Settings" test -n "$w"
[ -n "$w" ] && drv close "$w" >/dev/null && drv wait-gone Settings 3000 --pid "$E2E_PID" >/dev/null
w="$(open_from_context_menu About About)"
expect_true "context menu opens About" test -n "$w"
[ -n "$w" ] && drv click "$w" OK >/dev/null && drv wait-gone About 3000 --pid "$E2E_PID" >/dev/null
w="$(open_from_context_menu Instruction "How to use?")"
expect_true "context menu opens the instruction" test -n "$w"
[ -n "$w" ] && drv close "$w" >/dev/null && drv wait-gone "How to use?" 3000 --pid "$E2E_PID" >/dev/null

# Fold, then "Exit": both stores save as on a normal close.
drv click "$E2E_MAIN" "Menu <<" >/dev/null
sleep 0.2
open_from_context_menu Exit
expect "Exit ends the program" "$(proc_exit "$E2E_PID" 10000)" "exited code=0"
expect "Exit saved the settings" "$(reg_get 'Menu open')" "REG_DWORD:0"
expect "Exit saved the placement" "$(reg_get RCWidth)" "REG_DWORD:102"

# "stay on top" ticked and OK: saved, applied only at the next start.
start_main || exit 1
expect "not on top" "$(fieldof topmost "$(drv info "$E2E_MAIN")")" 0
dlg="$(open_from_menu_button Ustawienia Settings)"
drv click "$dlg" "stay on top" >/dev/null
expect "box ticked" "$(drv checked "$dlg" "stay on top" | field checked)" 1
drv click "$dlg" OK >/dev/null
drv wait-gone Settings 3000 --pid "$E2E_PID" >/dev/null
expect "saved" "$(reg_get 'Stay on top')" "REG_DWORD:1"
expect "OK alone does not make it top-most" "$(fieldof topmost "$(drv info "$E2E_MAIN")")" 0
close_main >/dev/null
start_main || exit 1
expect "top-most after a restart" "$(fieldof topmost "$(drv info "$E2E_MAIN")")" 1
dlg="$(open_from_menu_button Ustawienia Settings)"
expect "box ticked after a restart" "$(drv checked "$dlg" "stay on top" | field checked)" 1
drv close "$dlg" >/dev/null
expect "closes" "$(close_main)" "exited code=0"
