#!/usr/bin/env bash
# A one-minute session at a 2-second pattern, paused once for about 4 s, comes to
# rest empty after the minute, the pause and at most one breath, the loop
# stopped and end.wav played once (Wine's winmm trace), and one "complete"
# line of a minute in the practice history.
source "$(dirname "$0")/lib.sh"

drv reg batch del-key "set-dword|Breath In|10" "set-dword|Breath Out|10" "set-dword|Hold In|0" \
    "set-dword|Hold Out|0" "set-dword|Stay on top|0" "set-dword|Menu open|1" "set-dword|Enable sounds|1" \
    "set-dword|Session Minutes|1" "set-dword|End Bell|1" >/dev/null
history="$(winepath -u "$(wine cmd /c echo %APPDATA% </dev/null 2>/dev/null | tr -d '\r')" 2>/dev/null)/Quorvale/Lumeno"
rm -f "$history/practice.csv" "$history/practice-pending.csv"
now() { date +%s%3N; }
E2E_STDERR="$E2E_OUT/trace" WINEDEBUG=+winmm start_main || exit 1
started=$(now)
sleep 20
drv mouse "$E2E_MAIN" 30 100 >/dev/null
paused=$(now)
expect "paused: the bar" "$(bar_moving 2000 250)" still
sleep 2
drv mouse "$E2E_MAIN" 30 100 >/dev/null
pause=$(($(now) - paused))
# Sampled until 3 s after the latest end; the rest is where the fill last came to 0.
from=$(($(now) - started))
bar_samples $((60000 + pause + 2100 + 3000 - from)) "$E2E_OUT/end" 20
rest="$(awk -v from="$from" '/^sample/ { split($2, t, "="); split($3, f, "=");
          if (f[2] != 0) moving = t[2]; else if (rest == "" || last != 0) rest = t[2]; last = f[2] }
        END { if (last == 0 && rest > moving) printf "%.0f\n", from + rest; else print "never" }' "$E2E_OUT/end")"
# Slack: the window shows, and each click arrives, a little after the driver sees it.
within "rest after a minute of active time, the pause and at most one breath" "$rest" $((60000 + pause + 1050)) 1650
expect "closes" "$(close_main)" "exited code=0"
# Each call to the player, as loop (flags 27), once (3) or stop (no sound).
calls="$(grep -a -o "MULTIMEDIA_PlaySound pszSound='[0-9A-F]*' .* fdwSound=[0-9A-F]*" "$E2E_OUT/trace" |
  sed -E "s/.*pszSound='0+' .*/stop/; s/.*fdwSound=0000001B$/loop/; s/.*fdwSound=00000003$/once/")"
# One bell, end.wav, after the loop stopped; closing stops whatever plays last.
expect "bells, end.wav's, the last calls" "$(grep -c '^once$' <<<"$calls") $(grep -a -o 'SoundName=L"[^"]*"' \
  "$E2E_OUT/trace" | grep -c 'end\.wav') $(tail -n3 <<<"$calls" | paste -sd' ')" "1 1 stop once stop"
expect "the history: the practice, a minute, complete" \
  "$(tail -n +2 "$history/practice.csv" | cut -d, -f2,8 | tr -d '\r' | paste -sd' ')" "1.0,complete"
