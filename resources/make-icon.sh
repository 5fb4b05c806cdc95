#!/usr/bin/env bash
# Regenerates resources/lumeno.ico from gen/icongen.cpp with the host C++
# compiler. The .ico is committed, so a build never needs this; run it after
# changing the drawing:   resources/make-icon.sh
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"${CXX:-c++}" -std=c++17 -O2 -o "$work/icongen" "$here/gen/icongen.cpp"
"$work/icongen" "$here/lumeno.ico"
echo "wrote $here/lumeno.ico"
