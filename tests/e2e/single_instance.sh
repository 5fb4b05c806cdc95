#!/usr/bin/env bash
# A second start ends by itself and brings the first forward (restoring it
# when minimised); once the first has exited, a start is a first start.
source "$(dirname "$0")/lib.sh"

reset_key
start_main || exit 1
first_pid="$E2E_PID"; first_main="$E2E_MAIN"
drv show "$first_main" min >/dev/null
expect "first minimised" "$(fieldof iconic "$(drv info "$first_main")")" 1

start_lumeno || exit 1
second_pid="$E2E_PID"
expect "the second instance ends by itself" "$(proc_exit "$second_pid" 15000)" "exited code=0"
expect "the second showed no window" "$(drv windows Lumeno --pid "$second_pid" | grep -c 'visible=1')" 0
sleep 0.3
expect "the first is restored" "$(fieldof iconic "$(drv info "$first_main")")" 0
expect "and brought to the front" "$(drv foreground | field hwnd)" "$first_main"
expect "the first keeps running" "$(proc_exit "$first_pid" 0)" "running"

# Not minimised but behind another window this time: again the first comes
# forward. The other window is the bare floor window built beside lumeno.exe.
start_lumeno "$(win_path "$(dirname "$E2E_EXE")/lumeno_floor.exe")" || exit 1
other="$(drv find "Lumeno floor" --pid "$E2E_PID" --wait 10000 | field hwnd)"
sleep 0.3
expect "another window in front" "$(drv foreground | field hwnd)" "$other"
expect "the first not minimised" "$(fieldof iconic "$(drv info "$first_main")")" 0
start_lumeno || exit 1
expect "another second start ends" "$(proc_exit "$E2E_PID" 15000)" "exited code=0"
sleep 0.3
expect "the first is brought in front" "$(drv foreground | field hwnd)" "$first_main"
drv close "$other" >/dev/null

E2E_PID="$first_pid"; E2E_MAIN="$first_main"
expect "the first closes" "$(close_main)" "exited code=0"
start_main || exit 1
sleep 1
expect "after it, a start is a first start" "$(proc_exit "$E2E_PID" 0)" "running"
expect "with its window shown" "$(fieldof visible "$(drv info "$E2E_MAIN")")" 1
expect "closes" "$(close_main)" "exited code=0"
