# Version helpers shared by the packaging scripts and the installer test.
# shellcheck shell=bash

# project_version: the version in the top-level CMakeLists.txt (project VERSION).
project_version() {
  sed -n 's/^project(lumeno VERSION \([0-9.]*\).*/\1/p' "$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/CMakeLists.txt"
}

# exe_file_version EXE: the fixed file version of a PE's version record
# (VS_FIXEDFILEINFO, found by its signature 0xFEEF04BD), as a.b.c.d.
exe_file_version() {
  local off
  off="$(LC_ALL=C grep -obUaP '\xbd\x04\xef\xfe' "$1" | head -n1 | cut -d: -f1)"
  [ -n "$off" ] || { echo "none"; return 1; }
  # dwFileVersionMS, dwFileVersionLS follow the signature and the struct version.
  od -An -tu2 -j $((off + 8)) -N8 "$1" | awk '{ printf "%d.%d.%d.%d\n", $2, $1, $4, $3 }'
}
