#!/usr/bin/env bash
# The Windows installer round trip: build the MSI from this build's files,
# install it per user without a UI, start Lumeno from the installed place,
# uninstall, and find nothing left but the user's settings.
source "$(dirname "$0")/lib.sh"
root="$(cd "$(dirname "$0")/../.." && pwd)"
source "$root/packaging/version.sh"
# No menu entries in the host's desktop for a test's shortcut.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-};winemenubuilder.exe=d"

version="$(project_version)"
stage="$E2E_OUT/stage"
msi="$E2E_OUT/lumeno-$version.msi"
if ! bash "$root/packaging/stage.sh" "$(dirname "$E2E_EXE")" "$stage" "$version" ||
   ! bash "$root/packaging/make-msi.sh" "$stage" "$msi" "$version" >"$E2E_OUT/wixl.log" 2>&1; then
  cat "$E2E_OUT/wixl.log" 2>/dev/null
  fail "the installer could not be built"
  exit 1
fi
pass "installer built: $(basename "$msi"), $(stat -c %s "$msi") bytes"
expect "installer version" "$(msiinfo export "$msi" Property | tr -d '\r' | awk -F'\t' '$1 == "ProductVersion" { print $2 }')" "$version"
expect "no elevation asked (summary word count)" "$(( $(msiinfo suminfo "$msi" | sed -n 's/^Source: \([0-9]*\).*/\1/p') & 8 ))" 8

user_dir="$WINEPREFIX/drive_c/users/${USER:-$(id -un)}"
install_dir="$user_dir/AppData/Local/Programs/Lumeno"
shortcut="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Lumeno.lnk"
setup_key='Software\Quorvale\LumenoSetup'

reset_key
drv reg del-key --key "$setup_key" >/dev/null
rm -rf "$install_dir"
wine msiexec /i "$(win_path "$msi")" /qn </dev/null >/dev/null 2>&1
expect "msiexec /i /qn" "$?" 0
for f in lumeno.exe in.wav ex.wav README.txt; do
  expect_true "installed $f" test -f "$install_dir/$f"
done
expect_true "Start-menu shortcut" test -f "$shortcut"
expect_true "nothing under Program Files" test ! -e "$WINEPREFIX/drive_c/Program Files/Lumeno"
expect "installed exe version" "$(exe_file_version "$install_dir/lumeno.exe")" "$version"

# Start it from the installed place.
E2E_EXE_WIN="$(win_path "$install_dir/lumeno.exe")"
start_main || exit 1
moving="$(bar_moving)"
expect "the installed Lumeno breathes" "$moving" "moving"
expect "closes" "$(close_main)" "exited code=0"
expect "its settings saved" "$(reg_get 'Breath In')" "REG_DWORD:30"

wine msiexec /x "$(win_path "$msi")" /qn </dev/null >/dev/null 2>&1
expect "msiexec /x /qn" "$?" 0
expect_true "program folder removed" test ! -e "$install_dir"
expect_true "shortcut removed" test ! -e "$shortcut"
expect "installer's own key removed" "$(drv reg dump --key "$setup_key" | head -n1)" "nokey"
expect "the user's settings stay" "$(reg_get 'Breath In') $(reg_get RCWidth)" "REG_DWORD:30 REG_DWORD:229"
