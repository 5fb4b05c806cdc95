#!/usr/bin/env bash
# make-msi.sh SOURCE_DIR OUT.msi VERSION: builds the per-user installer from a
# folder holding lumeno.exe, in.wav, ex.wav, end.wav, README.txt and the
# sounds/ folder (stage.sh lays it out). VERSION is the release's
# major.minor.release.build; the installer carries its three-field form
# (msi_version in version.sh).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=packaging/version.sh
source "$here/version.sh"
src="$(cd "$1" && pwd)"
out="$2"
msi="$(msi_version "$3")"
# The next three-field version up: the upgrade range ends below it.
below="$(awk -F. '{ printf "%d.%d.%d\n", $1, $2, $3 + 1 }' <<<"$msi")"
for f in lumeno.exe in.wav ex.wav end.wav README.txt sounds/bowl-in.wav; do
  [ -f "$src/$f" ] || { echo "make-msi: $src/$f is missing" >&2; exit 1; }
done
# The files' size in KB for the uninstall entry (Windows Installer also works
# out EstimatedSize itself; Wine leaves that 0).
size_kb=$(( ($(find "$src" -type f -exec cat {} + | wc -c) + 1023) / 1024 ))
case "$out" in /*) ;; *) out="$PWD/$out" ;; esac
# wixl takes sources relative to the working folder.
cd "$src"
wixl -a x64 -D Version="$msi" -D UpgradeBelow="$below" -D SizeKB="$size_kb" \
     -D SourceDir=. -o "$out" "$here/lumeno.wxs"
