#!/usr/bin/env bash
# Runs a Windows test program in a process of its own at another display
# scale: the prefix's LogPixels is set before the process starts and put back
# when it ends. Usage: at_dpi.sh DPI PROGRAM.exe ARGS...
# The program sees LUMENO_TEST_DPI=DPI, so it can check it got that DPI.
set -uo pipefail
source "$(dirname "$0")/dpi.sh"
dpi="${1:?dpi}"
exe="${2:?program}"
shift 2
trap restore_dpi EXIT
set_dpi "$dpi" || exit 1
LUMENO_TEST_DPI="$dpi" wine "$exe" "$@" </dev/null
