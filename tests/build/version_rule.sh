#!/usr/bin/env bash
# version_rule.sh: the installer's version for each release version, and the
# versions the rule refuses (msi_version in packaging/version.sh).
set -uo pipefail
source "$(dirname "$0")/../../packaging/version.sh"
rc=0
check() {
  local got
  got="$(msi_version "$1" 2>/dev/null)" || got="refused"
  if [ "$got" = "$2" ]; then echo "ok   $1 -> $2"; else echo "FAIL $1 -> $got, expected $2"; rc=1; fi
}
check 1.0.1.2 1.0.102
check 1.0.1.3 1.0.103
check 1.0.2.0 1.0.200
check 1.0.1.99 1.0.199
check 255.255.655.34 255.255.65534
# The upgrade range ends one above the version: the third field stays below 65535.
check 1.0.655.35 refused
check 1.0.1.100 refused
check 256.0.1.2 refused
check 1.256.1.2 refused
check 1.0.1 refused
check 1.0.1.2.3 refused
check 1.0.1.x refused
check "" refused
exit "$rc"
