#!/usr/bin/env bash
# The Windows installer round trip: build the MSI from this build's files,
# install it per user without a UI, start Lumeno from the installed place,
# upgrade it with the next release's package, refuse a downgrade with its
# message, uninstall, and find nothing left but the user's settings.
source "$(dirname "$0")/lib.sh"
root="$(cd "$(dirname "$0")/../.." && pwd)"
source "$root/packaging/version.sh"
# No menu entries in the host's desktop for a test's shortcut.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-};winemenubuilder.exe=d"

# build_msi BIN_DIR VERSION NAME: stages BIN_DIR's files as release VERSION and
# packs them into $E2E_OUT/NAME.msi, as scripts/package does.
build_msi() {
  if ! bash "$root/packaging/stage.sh" "$1" "$E2E_OUT/stage-$3" "$2" >"$E2E_OUT/wixl.log" 2>&1 ||
     ! bash "$root/packaging/make-msi.sh" "$E2E_OUT/stage-$3" "$E2E_OUT/$3.msi" "$2" >>"$E2E_OUT/wixl.log" 2>&1; then
    cat "$E2E_OUT/wixl.log"
    fail "the installer for $2 could not be built"
    return 1
  fi
}

# The next release after a.b.c.d: the build goes up, or the release after build 99.
next_release() { awk -F. '{ if ($4 < 99) printf "%d.%d.%d.%d\n", $1, $2, $3, $4 + 1; else printf "%d.%d.%d.0\n", $1, $2, $3 + 1 }' <<<"$1"; }

# reg_values KEY: every value under KEY and its subkeys, one per line as
# SUBKEY|NAME|DATA (SUBKEY the last part of the key's path).
reg_values() {
  wine reg query "$1" /s </dev/null 2>/dev/null | tr -d '\r' |
    awk -F'    ' '/^HKEY_/ { n = split($0, p, "\\"); key = p[n]; next }
                   NF >= 3 && $1 == "" { print key "|" $2 "|" $4 }'
}
# named NAMEVALUE FIELD... : reads reg_values lines; for each subkey whose
# NAMEVALUE is "Lumeno", prints the subkey and the FIELDs' data, |-separated.
named() {
  awk -F'|' -v name="$1" -v fields="${*:2}" '
    { v[$1 SUBSEP $2] = $3; keys[$1] = 1 }
    END {
      nf = split(fields, f, " ")
      for (k in keys) if (v[k SUBSEP name] == "Lumeno") {
        line = k
        for (i = 1; i <= nf; i++) line = line "|" v[k SUBSEP f[i]]
        print line
      }
    }'
}
uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall'
# Lumeno's uninstall entries (either hive): CODE|DisplayVersion|InstallLocation|Size
uninstall_entries() {
  { reg_values "HKLM\\$uninstall_key"; reg_values "HKCU\\$uninstall_key"; } |
    named DisplayName DisplayVersion InstallLocation Size
}
# The installed product's icon file, as Windows keeps it for the entry.
product_icon() {
  reg_values 'HKCU\Software\Microsoft\Installer\Products' | named ProductName ProductIcon | cut -d'|' -f2
}
# msiexec's exit code as the shell sees it (the low byte): 1603 is a refusal.
refused=$((1603 % 256))

version="$(project_version)"
next="$(next_release "$version")"
bin="$(dirname "$E2E_EXE")"
build_msi "$bin" "$version" this || exit 1
msi="$E2E_OUT/this.msi"
pass "installer built: $(stat -c %s "$msi") bytes"
msi_ver="$(msi_version "$version")"
next_msi_ver="$(msi_version "$next")"
expect "installer version ($version)" "$(msiinfo export "$msi" Property | tr -d '\r' | awk -F'\t' '$1 == "ProductVersion" { print $2 }')" "$msi_ver"
expect_true "the next release's installer version is newer ($next_msi_ver)" \
  test "$(printf '%s\n' "$next_msi_ver" "$msi_ver" | sort -t. -k1,1n -k2,2n -k3,3n | tail -n1)" = "$next_msi_ver"
expect "no elevation asked (summary word count)" "$(( $(msiinfo suminfo "$msi" | sed -n 's/^Source: \([0-9]*\).*/\1/p') & 8 ))" 8

# The next release, built the same way from the same files but with the exe's
# version record saying the next version.
mkdir -p "$E2E_OUT/next-bin"
cp -r "$bin/lumeno.exe" "$bin/in.wav" "$bin/ex.wav" "$bin/end.wav" "$bin/sounds" "$E2E_OUT/next-bin/"
set_exe_file_version "$E2E_OUT/next-bin/lumeno.exe" "$next"
build_msi "$E2E_OUT/next-bin" "$next" next || exit 1
next_msi="$E2E_OUT/next.msi"

user_dir="$WINEPREFIX/drive_c/users/${USER:-$(id -un)}"
install_dir="$user_dir/AppData/Local/Programs/Lumeno"
shortcut="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Lumeno.lnk"
setup_key='Software\Quorvale\LumenoSetup'

# A clean account: no Lumeno installed, no settings.
for code in $(uninstall_entries | cut -d'|' -f1); do
  wine msiexec /x "$code" /qn </dev/null >/dev/null 2>&1
done
reset_key
drv reg del-key --key "$setup_key" >/dev/null
rm -rf "$install_dir"

wine msiexec /i "$(win_path "$msi")" /qn </dev/null >/dev/null 2>&1
expect "msiexec /i /qn" "$?" 0
for f in lumeno.exe in.wav ex.wav end.wav README.txt sounds/bowl-in.wav sounds/surf-cue.wav; do
  expect_true "installed $f" test -f "$install_dir/$f"
done
expect_true "Start-menu shortcut" test -f "$shortcut"
expect_true "nothing under Program Files" test ! -e "$WINEPREFIX/drive_c/Program Files/Lumeno"
expect "installed exe version" "$(exe_file_version "$install_dir/lumeno.exe")" "$version"

# The uninstall entry: its version, where it lives, its size and its icon.
entries="$(uninstall_entries)"
expect "one uninstall entry" "$(grep -c . <<<"$entries")" 1
IFS='|' read -r first_code shown_ver location size_kb <<<"$entries"
expect "entry's version" "$shown_ver" "$msi_ver"
expect "entry's install location" "$(realpath -m "$(winepath -u "$location" 2>/dev/null)")" "$(realpath -m "$install_dir")"
staged_kb=$(( ($(find "$E2E_OUT/stage-this" -type f -exec cat {} + | wc -c) + 1023) / 1024 ))
expect "entry's size (KB)" "$size_kb" "$staged_kb"
icon="$(product_icon)"
expect_true "entry's icon is Lumeno's ($icon)" cmp -s "$(winepath -u "$icon" 2>/dev/null)" "$root/resources/lumeno.ico"

# Start it from the installed place.
E2E_EXE_WIN="$(win_path "$install_dir/lumeno.exe")"
start_main || exit 1
moving="$(bar_moving)"
expect "the installed Lumeno breathes" "$moving" "moving"
expect "closes" "$(close_main)" "exited code=0"
expect "its settings saved" "$(reg_get 'Breath In')" "REG_DWORD:30"
settings="$(reg_dump)"

# The upgrade: one entry, the newer exe, the user's settings as they were.
wine msiexec /i "$(win_path "$next_msi")" /qn </dev/null >/dev/null 2>&1
expect "upgrade: msiexec /i /qn" "$?" 0
entries="$(uninstall_entries)"
expect "upgrade: one uninstall entry" "$(grep -c . <<<"$entries")" 1
IFS='|' read -r next_code shown_ver location _ <<<"$entries"
expect "upgrade: entry's version" "$shown_ver" "$next_msi_ver"
expect_true "upgrade: the entry is the new product's" test "$next_code" != "$first_code"
expect "upgrade: installed exe version" "$(exe_file_version "$install_dir/lumeno.exe")" "$next"
expect_true "upgrade: Start-menu shortcut" test -f "$shortcut"
expect "upgrade: the user's settings untouched" "$(reg_dump)" "$settings"

# A downgrade is refused, with its message shown (basic UI), and quietly.
wine msiexec /i "$(win_path "$msi")" /qb </dev/null >/dev/null 2>&1 &
msiexec_pid=$!
box="$(drv find "Install Failed" --wait 20000 | field hwnd)"
if [ -n "$box" ]; then
  expect_true "downgrade: the message" grep -qF 'text="A newer version of Lumeno is already installed."' <(drv controls "$box")
  drv click "$box" OK >/dev/null
else
  fail "downgrade: no message box"
  for pid in $(drv procs msiexec.exe | sed -n 's/^pid=//p'); do drv kill "$pid" >/dev/null; done
fi
wait "$msiexec_pid"
expect "downgrade: msiexec /i /qb refused" "$?" "$refused"
wine msiexec /i "$(win_path "$msi")" /qn </dev/null >/dev/null 2>&1
expect "downgrade: msiexec /i /qn refused" "$?" "$refused"
expect "downgrade: installed exe version" "$(exe_file_version "$install_dir/lumeno.exe")" "$next"
expect "downgrade: the entry stays" "$(uninstall_entries | cut -d'|' -f1,2)" "$next_code|$next_msi_ver"

# A rebuild of the same release (a new product code) replaces it too.
build_msi "$E2E_OUT/next-bin" "$next" rebuilt || exit 1
wine msiexec /i "$(win_path "$E2E_OUT/rebuilt.msi")" /qn </dev/null >/dev/null 2>&1
expect "same release rebuilt: msiexec /i /qn" "$?" 0
entries="$(uninstall_entries)"
expect "same release rebuilt: one uninstall entry" "$(grep -c . <<<"$entries")" 1
last_code="$(cut -d'|' -f1 <<<"$entries")"
expect_true "same release rebuilt: the entry is the rebuild's" test "$last_code" != "$next_code"

# Uninstall as the entry does (msiexec /x with its product code).
wine msiexec /x "$last_code" /qn </dev/null >/dev/null 2>&1
expect "msiexec /x /qn" "$?" 0
expect "no uninstall entry left" "$(uninstall_entries)" ""
expect_true "program folder removed" test ! -e "$install_dir"
expect_true "shortcut removed" test ! -e "$shortcut"
expect "installer's own key removed" "$(drv reg dump --key "$setup_key" | head -n1)" "nokey"
expect "the user's settings stay" "$(reg_dump)" "$settings"
expect "the user's settings stay (values)" "$(reg_get 'Breath In') $(reg_get RCWidth)" "REG_DWORD:30 REG_DWORD:229"
