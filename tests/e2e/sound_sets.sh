#!/usr/bin/env bash
# A set other than the default with the pause cue on, stored as a previous
# run left it: Wine's winmm trace shows the singing bowl's loops, each started
# after the bowl's cue that began the pause before it, at both pauses.
source "$(dirname "$0")/lib.sh"

# A one-second inhale and exhale with half-second pauses: 3 s a breath.
drv reg batch del-key "set-dword|Breath In|10" "set-dword|Breath Out|10" "set-dword|Hold In|5" \
    "set-dword|Hold Out|5" "set-dword|Stay on top|0" "set-dword|Menu open|1" "set-dword|Enable sounds|1" \
    "set-dword|Sound Set|1" "set-dword|Pause Cue|1" >/dev/null
E2E_STDERR="$E2E_OUT/trace" WINEDEBUG=+winmm start_main || exit 1
# A breath and the next inhale's start: five sounds (waiting up to 15 s).
for _ in $(seq 1 150); do
  [ "$(grep -a -c 'SoundName=' "$E2E_OUT/trace")" -ge 5 ] && break
  sleep 0.1
done
expect "closes" "$(close_main)" "exited code=0"
# The files in the order the player got them, without the folder.
played="$(grep -a -o 'SoundName=L"[^"]*"' "$E2E_OUT/trace" | sed 's/.*\\\\//; s/"$//' | head -n 5 | paste -sd' ')"
expect "the bowl's loops, a cue at each pause" "$played" \
  "bowl-in.wav bowl-cue.wav bowl-ex.wav bowl-cue.wav bowl-in.wav"
expect "every file from the sounds folder" \
  "$(grep -a -o 'SoundName=L"[^"]*"' "$E2E_OUT/trace" | head -n 5 | grep -c '\\\\sounds\\\\bowl-')" 5
