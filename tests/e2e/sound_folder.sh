#!/usr/bin/env bash
# Lumeno copied into a folder whose name has Polish letters, on a Western code
# page: the player is handed the sound's full path with those letters intact
# (Wine's winmm trace names the file it was given), not a best-fit copy of it.
source "$(dirname "$0")/lib.sh"

# A Western code page (1252) without these letters, UTF-8 file names.
export LC_ALL=C.UTF-8
acp="$(wine reg query 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' /v ACP </dev/null 2>/dev/null |
  tr -d '\r' | awk '$1 == "ACP" { print $3 }')"
expect "ANSI code page" "$acp" 1252
folder="$WINEPREFIX/drive_c/users/Zażółć gęślą jaźń/Lumeno"
mkdir -p "$folder"
cp "$E2E_EXE" "$(dirname "$E2E_EXE")/in.wav" "$(dirname "$E2E_EXE")/ex.wav" "$folder/"

drv reg batch del-key "${E2E_GOOD_SETTINGS[@]}" "${E2E_GOOD_PLACEMENT[@]}" >/dev/null
E2E_STDERR="$E2E_OUT/trace" WINEDEBUG=+winmm start_lumeno 'C:\users\Zażółć gęślą jaźń\Lumeno\lumeno.exe' || exit 1
E2E_MAIN="$(fieldof hwnd "$(main_window)")"
expect_true "main window" test -n "$E2E_MAIN"
sleep 1
expect "closes" "$(close_main)" "exited code=0"
# The trace escapes a backslash as two and a letter past ASCII as \XXXX.
played="$(grep -a -o 'SoundName=L"[^"]*in\.wav"' "$E2E_OUT/trace" | head -n1)"
expect "the inhale sound from the folder" "$played" \
  'SoundName=L"C:\\users\\Za\017c\00f3\0142\0107 g\0119\015bl\0105 ja\017a\0144\\Lumeno\\in.wav"'
rm -rf "$WINEPREFIX/drive_c/users/Zażółć gęślą jaźń"
