#!/usr/bin/env bash
# The bar breathes: two default cycles timed phase by phase (3.0 s rising,
# 0.5 s full, 6.0 s falling, 0.5 s empty), then one cycle of a stored pattern
# whose two pauses differ, so the pause after the inhale ("Hold Out") and the
# one after the exhale ("Hold In") cannot be swapped unnoticed.
#
# Allowance: a moving phase ends at the first tick at or past its length and a
# pause lasts one timer interval plus the tick that ends it, so each phase runs
# its nominal length plus up to one timer period (10 ms under Wine); samples
# are 10 ms apart; on a loaded 2-core machine scheduling adds more. Each phase
# must be within 10 ms + 150 ms of its nominal length.
source "$(dirname "$0")/lib.sh"
TOL=160

# check_phases FILE IN FULL OUT EMPTY COUNT: the first COUNT complete phases
# seen (the run cut off by the start of sampling is not counted).
check_phases() {
  local file="$1" count="$6" i=0 kind ms at
  phases "$file" | head -n "$count" >"$file.phases"
  expect "complete phases seen" "$(wc -l <"$file.phases")" "$count"
  while read -r kind ms at; do
    i=$((i + 1))
    case "$kind" in
      rising) within "phase $i rising (at $at ms)" "$ms" "$2" $TOL ;;
      full) within "phase $i full (at $at ms)" "$ms" "$3" $TOL ;;
      falling) within "phase $i falling (at $at ms)" "$ms" "$4" $TOL ;;
      empty) within "phase $i empty (at $at ms)" "$ms" "$5" $TOL ;;
    esac
  done <"$file.phases"
  local order
  order="$(awk 'BEGIN { nx["rising"] = "full"; nx["full"] = "falling"; nx["falling"] = "empty"; nx["empty"] = "rising" }
                NR > 1 && $1 != nx[p] { bad = bad " " p "->" $1 } { p = $1 } END { r = (bad == "") ? "in order" : bad; print r }' "$file.phases")"
  expect "phase order" "$order" "in order"
}

reset_key
start_main || exit 1
# From the start: the first inhale (cut off), then two whole cycles.
bar_samples 23800 "$E2E_OUT/default"
check_phases "$E2E_OUT/default" 3000 500 6000 500 8
close_main >/dev/null

reset_key
drv reg batch "set-dword|Breath In|20" "set-dword|Breath Out|40" "set-dword|Hold In|12" \
    "set-dword|Hold Out|3" "set-dword|Stay on top|0" "set-dword|Menu open|1" \
    "set-dword|Enable sounds|0" >/dev/null
start_main || exit 1
bar_samples 10000 "$E2E_OUT/stored"
# Inhale 2.0 s, then "Hold Out" 0.3 s full, exhale 4.0 s, "Hold In" 1.2 s empty.
check_phases "$E2E_OUT/stored" 2000 300 4000 1200 4
close_main >/dev/null
