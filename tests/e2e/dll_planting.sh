#!/usr/bin/env bash
# Nothing runs from the folder Lumeno is unpacked in: a library planted beside
# a copy of lumeno.exe, with Wine told to search as Windows does (the exe's
# folder first), is never loaded, and Lumeno works as without it.
source "$(dirname "$0")/lib.sh"
: "${E2E_PLANTED_DLL:?the library to plant}"
# What Lumeno can load beyond the known system libraries (WINEDEBUG=+loaddll
# through start-up, the sounds, every window and a screen reader's question).
# A feature that brings a library adds it here, and to tour() if need be.
# (winspool.drv, which the Open dialog's library brings, is not a .dll.)
E2E_PLANTS=(version winmm msacm32 mmdevapi uxtheme msimg32 msftedit riched20 usp10 oleacc dwmapi comdlg32 compstui
  shcore wtsapi32)
plant="$E2E_OUT/plant"
mkdir -p "$plant" && cp "$E2E_EXE" "$(dirname "$E2E_EXE")"/*.wav "$plant/"
# A session with an end: once it runs Lumeno asks to hear of the workstation's lock.
drv reg batch del-key "${E2E_GOOD_SETTINGS[@]}" "set-dword|Session Minutes|60" >/dev/null
# tour: E2E_SEEN, what Lumeno started from the plant folder shows on the way
# through all that loads them, and how it ends.
tour() {
  local w p d; E2E_SEEN=""
  drv reg del-value "Colour Scheme" >/dev/null 2>&1
  E2E_STDERR="$E2E_OUT/trace" WINEDEBUG=+winmm start_main "$(win_path "$plant/lumeno.exe")" || return
  E2E_SEEN="$(bar_moving) $(fieldof name "$(drv acc "$E2E_MAIN" '#100')")"
  w="$(open_from_menu_button "O programie" About)"
  E2E_SEEN+=" $(drv controls "$w" | grep -o 'text="ver\.[^"]*"') $(drv close "$w" >/dev/null; drv wait-gone About 3000 --pid "$E2E_PID")"
  w="$(open_from_menu_button Instrukcja "How to use?")"
  E2E_SEEN+=" $(drv controls "$w" | grep -io 'class="rich[^"]*"') $(drv close "$w" >/dev/null; drv wait-gone "How to use?" 3000 --pid "$E2E_PID")"
  # A dark scheme asks for the dark caption bar (dwmapi); "Your own files..."
  # opens the Open dialog (comdlg32), which is cancelled.
  w="$(open_from_menu_button Ustawienia Settings)"
  drv click "$w" "Practice..." >/dev/null
  p="$(dialog_window Practice)"
  E2E_SEEN+=" $(drv select "$p" Night | field selected)"
  drv select "$p" "Your own files..." >/dev/null
  d="$(dialog_window 'Sound for breathing in')" && E2E_SEEN+=" ${d:+chooser}" && drv close "$d" >/dev/null
  E2E_SEEN+=" $(drv close "$p" >/dev/null; drv wait-gone Practice 3000 --pid "$E2E_PID")"
  drv close "$w" >/dev/null; drv wait-gone Settings 3000 --pid "$E2E_PID" >/dev/null
  E2E_SEEN+=" $(grep -q 'SoundName=L"[^"]*in\.wav"' "$E2E_OUT/trace" && echo played) $(close_main)"
  rm -f "$E2E_OUT/trace"; kill_started
}
tour; unplanted="$E2E_SEEN"
expect_true "without planted libraries: $unplanted" grep -q '^moving Breathing text=.* gone class=.* gone Night chooser gone played exited code=0$' <<<"$unplanted"
for name in "${E2E_PLANTS[@]}"; do
  cp "$E2E_PLANTED_DLL" "$plant/$name.dll"
  WINEDLLOVERRIDES="$name=n,b" tour
  expect "$name.dll planted: Lumeno as without it" "$E2E_SEEN" "$unplanted"
  expect "$name.dll planted: loaded" "$(ls "$plant" | grep -i '\.ran$')" ""
  rm -f "$plant/$name.dll" "$plant"/*.ran
done
