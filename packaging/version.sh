# Version helpers shared by the packaging scripts and the installer test.
# shellcheck shell=bash

# project_version: the version in the top-level CMakeLists.txt (project VERSION).
project_version() {
  sed -n 's/^project(lumeno VERSION \([0-9.]*\).*/\1/p' "$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/CMakeLists.txt"
}

# msi_version VERSION: the installer's ProductVersion for the release VERSION
# (major.minor.release.build). Windows Installer compares only the first three
# fields, so the last two are folded into the third: release * 100 + build
# (1.0.1.2 -> 1.0.102). Fails for a version the rule cannot carry.
msi_version() {
  awk -F. -v v="$1" '
    NF != 4 || v !~ /^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$/ { exit 1 }
    $1 > 255 || $2 > 255 || $4 > 99 || $3 * 100 + $4 > 65535 { exit 1 }
    { printf "%d.%d.%d\n", $1, $2, $3 * 100 + $4 }' <<<"$1" ||
    { echo "version: $1 is not major.minor.release.build with major, minor <= 255, build <= 99 and release * 100 + build <= 65535" >&2; return 1; }
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

# set_exe_file_version EXE VERSION: rewrites the fixed file and product version
# of EXE's version record in place (the installer test makes its "next release"
# this way without another build).
set_exe_file_version() {
  local off a b c d
  off="$(LC_ALL=C grep -obUaP '\xbd\x04\xef\xfe' "$1" | head -n1 | cut -d: -f1)"
  [ -n "$off" ] || return 1
  IFS=. read -r a b c d <<<"$2"
  # Two DWORDs, each high word first in meaning, little-endian in bytes.
  local bytes
  bytes="$(printf '\\x%02x\\x%02x\\x%02x\\x%02x\\x%02x\\x%02x\\x%02x\\x%02x' \
    $((b & 255)) $((b >> 8)) $((a & 255)) $((a >> 8)) $((d & 255)) $((d >> 8)) $((c & 255)) $((c >> 8)))"
  # shellcheck disable=SC2059
  printf "$bytes$bytes" | dd of="$1" bs=1 seek=$((off + 8)) conv=notrunc status=none
}
