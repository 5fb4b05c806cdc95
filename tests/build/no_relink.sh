#!/usr/bin/env bash
# no_relink.sh SOURCE_DIR BUILD_DIR TARGET...: configuring the build again and
# building TARGETs with nothing changed does no work, as scripts/run does on
# every start. A generated file rewritten with the same text would remake what
# depends on it and relink lumeno.exe each time.
set -uo pipefail
src="$1" bin="$2"; shift 2
exe="$bin/bin/lumeno.exe"
before="$(stat -c %Y.%Z "$exe" 2>/dev/null)" || { echo "FAIL $exe is missing: build first"; exit 1; }
if ! out="$(cmake -S "$src" -B "$bin" 2>&1)"; then
  echo "$out"; echo "FAIL configuring again"; exit 1
fi
out="$(cmake --build "$bin" --target "$@" 2>&1)" || { echo "$out"; echo "FAIL building again"; exit 1; }
echo "$out"
rc=0
grep -q 'ninja: no work to do' <<<"$out" || { echo "FAIL the build did work"; rc=1; }
[ "$(stat -c %Y.%Z "$exe")" = "$before" ] || { echo "FAIL lumeno.exe was written"; rc=1; }
[ "$rc" -eq 0 ] && echo "ok   nothing rebuilt, nothing relinked"
exit "$rc"
