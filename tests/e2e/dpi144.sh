#!/usr/bin/env bash
# One start at 144 dpi (the prefix's LogPixels, put back afterwards): the main
# window, the fold and the settings dialog where the 96-dpi design scaled by
# 1.5 puts them, and the bar breathing with the same phase timing as at 96 dpi;
# then a start at 96 dpi brings the window back at its size at that scale.
source "$(dirname "$0")/lib.sh"
TOL=160

source "$(dirname "$0")/../dpi.sh"
# Lumeno ends first, then the scale goes back, then the usual finish.
trap 'rc=$?; kill_started; restore_dpi; (exit $rc); e2e_finish' EXIT
set_dpi 144

# control_size WINDOW TEXT: "width,height" of the control with that text.
control_size() {
  local r
  r="$(drv controls "$1" | grep -F "text=\"$2\"" | head -n1)"
  r="$(fieldof rect "$r")"
  IFS=, read -r _ _ w h <<<"$r"
  echo "$w,$h"
}
bar_size() {
  local r
  r="$(fieldof rect "$(drv controls "$E2E_MAIN" | grep -F 'class="TALProgressBar"' | head -n1)")"
  IFS=, read -r _ _ w h <<<"$r"
  echo "$w,$h"
}

reset_key
start_main || exit 1
line="$(drv info "$E2E_MAIN")"
expect "main window: 416,115,229,480 scaled" "$(fieldof rect "$line")" "624,173,344,720"
IFS=, read -r _ _ cw ch <<<"$(fieldof client "$line")"
expect "bar beside the 191-pixel side menu, above the 62-pixel panel" "$(bar_size)" "$((cw - 191)),$((ch - 62))"
expect "menu button 57 x 25 scaled" "$(control_size "$E2E_MAIN" "Menu  >>")" "86,38"
expect "side-menu button 99 x 25 scaled" "$(control_size "$E2E_MAIN" "Ustawienia")" "149,38"

drv click "$E2E_MAIN" "Menu  >>" >/dev/null
sleep 0.3
IFS=, read -r _ _ w _ <<<"$(fieldof rect "$(drv info "$E2E_MAIN")")"
expect "folded: the scaled menu's width off" "$w" "$((344 - 191))"
expect "the bar keeps its width" "$(bar_size)" "$((cw - 191)),$((ch - 62))"
drv click "$E2E_MAIN" "Menu >>" >/dev/null
sleep 0.3
IFS=, read -r _ _ w _ <<<"$(fieldof rect "$(drv info "$E2E_MAIN")")"
expect "unfolded: back to its width" "$w" "344"

dlg="$(open_from_menu_button Ustawienia Settings)"
[ -n "$dlg" ] || { fail "the settings dialog did not open"; exit 1; }
line="$(drv info "$dlg")"
IFS=, read -r dl dt dw dh <<<"$(fieldof rect "$line")"
IFS=, read -r _ _ dcw dch <<<"$(fieldof client "$line")"
expect "settings client area 418 x 285 scaled" "$dcw,$dch" "627,428"
expect "settings centred on the main window" "$dl,$dt" "$((624 + (344 - dw) / 2)),$((173 + (720 - dh) / 2))"
expect "OK 75 x 25 scaled" "$(control_size "$dlg" OK)" "113,38"
expect "Default settings 105 x 25 scaled" "$(control_size "$dlg" "Default settings")" "158,38"
drv click "$dlg" Cancel >/dev/null
expect "Cancel closes" "$(drv wait-gone Settings 3000 --pid "$E2E_PID")" "gone"

# The bar's pace does not depend on the scale: one whole default cycle.
bar_samples 20500 "$E2E_OUT/cycle"
phases "$E2E_OUT/cycle" | head -n 4 >"$E2E_OUT/phases"
expect "complete phases seen" "$(wc -l <"$E2E_OUT/phases")" 4
while read -r kind ms at; do
  case "$kind" in
    rising) within "rising (at $at ms)" "$ms" 3000 $TOL ;;
    full) within "full (at $at ms)" "$ms" 500 $TOL ;;
    falling) within "falling (at $at ms)" "$ms" 6000 $TOL ;;
    empty) within "empty (at $at ms)" "$ms" 500 $TOL ;;
  esac
done <"$E2E_OUT/phases"
expect "track: the bar less its 2-pixel frame" "$(drv bar "$E2E_MAIN" | awk '/^sample/ { split($4, t, "="); print t[2] }')" "$((ch - 62 - 4))"

expect "closes normally" "$(close_main)" "exited code=0"
expect "the placement keeps its DPI" "$(reg_get RCWidth) $(reg_get RCDpi)" "REG_DWORD:344 REG_DWORD:144"

# Back at 96 dpi the window has the size it had, in 96-dpi pixels.
restore_dpi
start_main || exit 1
expect "at 96 dpi again: 344 x 720 from 144 dpi" "$(fieldof rect "$(drv info "$E2E_MAIN")")" "624,173,229,480"
expect "closes normally" "$(close_main)" "exited code=0"
