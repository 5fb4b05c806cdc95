#!/usr/bin/env bash
# The bar breathes: two default cycles timed phase by phase (3.0 s rising,
# 0.5 s full, 6.0 s falling, 0.5 s empty), then one cycle of a stored pattern
# whose two pauses differ, so the pause after the inhale ("Hold Out") and the
# one after the exhale ("Hold In") cannot be swapped unnoticed.
#
# Each phase must be within the allowance of check_phases (lib.sh) of its
# nominal length.
source "$(dirname "$0")/lib.sh"

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
