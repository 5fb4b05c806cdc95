#!/usr/bin/env bash
# make-msi.sh SOURCE_DIR OUT.msi VERSION: builds the per-user installer from a
# folder holding lumeno.exe, in.wav, ex.wav and README.txt.
set -euo pipefail
src="$(cd "$1" && pwd)"
out="$2"
version="$3"
for f in lumeno.exe in.wav ex.wav README.txt; do
  [ -f "$src/$f" ] || { echo "make-msi: $src/$f is missing" >&2; exit 1; }
done
wxs="$(cd "$(dirname "$0")" && pwd)/lumeno.wxs"
case "$out" in /*) ;; *) out="$PWD/$out" ;; esac
# wixl takes sources relative to the working folder.
cd "$src"
wixl -a x64 -D Version="$version" -D SourceDir=. -o "$out" "$wxs"
