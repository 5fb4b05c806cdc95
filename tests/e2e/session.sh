#!/usr/bin/env bash
# A one-minute session at a 2-second pattern, paused once for a few seconds:
# the bar stands still while paused, and comes to rest empty after a minute
# of active time plus the pause and at most one breath. Wine's winmm trace
# shows the looping sound stopped and end.wav played once, last.
source "$(dirname "$0")/lib.sh"

drv reg batch del-key "set-dword|Breath In|10" "set-dword|Breath Out|10" "set-dword|Hold In|0" \
    "set-dword|Hold Out|0" "set-dword|Stay on top|0" "set-dword|Menu open|1" "set-dword|Enable sounds|1" \
    "set-dword|Session Minutes|1" "set-dword|End Bell|1" >/dev/null
now() { date +%s%3N; }
E2E_STDERR="$E2E_OUT/trace" WINEDEBUG=+winmm start_lumeno || exit 1
E2E_MAIN="$(fieldof hwnd "$(main_window)")"
started=$(now)
expect_true "main window" test -n "$E2E_MAIN"

# A click on the bar pauses at 20 s and another resumes about 4 s later.
sleep 20
drv mouse "$E2E_MAIN" 30 100 >/dev/null
paused=$(now)
expect "paused: the bar" "$(bar_moving 2000 250)" still
sleep $(awk -v t=$((4000 - ($(now) - paused))) 'BEGIN { print (t > 0 ? t / 1000 : 0) }')
drv mouse "$E2E_MAIN" 30 100 >/dev/null
pause=$(($(now) - paused))
expect "resumed: the bar" "$(bar_moving 1000 250)" moving

# Sampled until 3 s after the latest end: a minute, the pause, one breath.
from=$(($(now) - started))
bar_samples $((60000 + pause + 2100 + 3000 - from)) "$E2E_OUT/end" 20
rest="$(awk -v from="$from" '/^sample/ { split($2, t, "="); split($3, f, "=");
          if (f[2] != 0) moving = t[2]; else if (rest == "" || last != 0) rest = t[2]; last = f[2] }
        END { if (last == 0 && rest > moving) printf "%.0f\n", from + rest; else print "never" }' "$E2E_OUT/end")"
# The window shows a little after the session's clock starts, and each
# click reaches Lumeno a little after the driver sends it: 600 ms of slack.
within "rest, after a minute of active time, the pause and at most one breath" "$rest" \
  $((60000 + pause + 1050)) 1650
expect "the rest is the end (nothing moves 3 s on)" "$(bar_moving 3000 500)" still
expect "closes" "$(close_main)" "exited code=0"

# Each call to the player, as loop (flags 27), once (3) or stop (no sound).
calls="$(grep -a -o "MULTIMEDIA_PlaySound pszSound='[0-9A-F]*' .* fdwSound=[0-9A-F]*" "$E2E_OUT/trace" |
  sed -E "s/.*pszSound='0+' .*/stop/; s/.*fdwSound=0000001B$/loop/; s/.*fdwSound=00000003$/once/")"
expect "the last calls: the loop stopped, then the bell" "$(tail -n2 <<<"$calls" | paste -sd' ')" "stop once"
expect "the bell rang once" "$(grep -c '^once$' <<<"$calls")" 1
expect "and it was end.wav" "$(grep -a -o 'SoundName=L"[^"]*"' "$E2E_OUT/trace" | grep -c 'end\.wav')" 1
