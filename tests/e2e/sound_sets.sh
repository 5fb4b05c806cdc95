#!/usr/bin/env bash
# The singing bowl with the pause cue on, stored as a previous run left it:
# Wine's winmm trace shows the bowl's loops from the sounds folder, each after
# the cue that began the pause before it, at both pauses.
source "$(dirname "$0")/lib.sh"

# 1-s inhale and exhale, 0.5-s pauses.
drv reg batch del-key "set-dword|Breath In|10" "set-dword|Breath Out|10" "set-dword|Hold In|5" \
    "set-dword|Hold Out|5" "set-dword|Stay on top|0" "set-dword|Menu open|1" "set-dword|Enable sounds|1" \
    "set-dword|Sound Set|1" "set-dword|Pause Cue|1" >/dev/null
E2E_STDERR="$E2E_OUT/trace" WINEDEBUG=+winmm start_main || exit 1
for _ in $(seq 1 150); do  # five sounds, within 15 s
  [ "$(grep -a -c 'SoundName=' "$E2E_OUT/trace")" -ge 5 ] && break
  sleep 0.1
done
expect "closes" "$(close_main)" "exited code=0"
expect "the bowl's loops, a cue at each pause" \
  "$(grep -a -o 'SoundName=L"[^"]*"' "$E2E_OUT/trace" | head -n 5 | sed 's/.*\\\\\(sounds\\\\\)/\1/; s/"$//' | paste -sd' ')" \
  'sounds\\bowl-in.wav sounds\\bowl-cue.wav sounds\\bowl-ex.wav sounds\\bowl-cue.wav sounds\\bowl-in.wav'
