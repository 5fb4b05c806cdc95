#!/usr/bin/env bash
# stage.sh BIN_DIR OUT_DIR VERSION: lays out a release folder from a Windows
# build's bin/: lumeno.exe, in.wav, ex.wav, end.wav, the sounds/ folder (the
# other sets and the pause cues) and the plain-text read-me, and checks that
# the exe's version record says VERSION.
set -euo pipefail
bin="$1"; out="$2"; version="$3"
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=packaging/version.sh
source "$here/version.sh"
sounds=(sounds/tones-cue.wav sounds/bowl-in.wav sounds/bowl-ex.wav sounds/bowl-cue.wav sounds/surf-in.wav
        sounds/surf-ex.wav sounds/surf-cue.wav)
for f in lumeno.exe in.wav ex.wav end.wav "${sounds[@]}"; do
  [ -f "$bin/$f" ] || { echo "stage: $bin/$f is missing (build lumeno and lumeno_resources)" >&2; exit 1; }
done
got="$(exe_file_version "$bin/lumeno.exe")"
[ "$got" = "$version" ] || { echo "stage: lumeno.exe says version '$got', expected $version" >&2; exit 1; }
rm -rf "$out"
mkdir -p "$out"
cp "$bin/lumeno.exe" "$bin/in.wav" "$bin/ex.wav" "$bin/end.wav" "$out/"
mkdir -p "$out/sounds"
for f in "${sounds[@]}"; do cp "$bin/$f" "$out/sounds/"; done
# A Windows read-me: CRLF line ends.
sed "s/@VERSION@/$version/; s/\$/\r/" "$here/README.txt" >"$out/README.txt"
