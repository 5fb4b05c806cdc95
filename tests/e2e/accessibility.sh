#!/usr/bin/env bash
# What a screen reader in another process hears: the bar as a progress bar
# named "Breathing" with the phase as its value, each up-down named after its
# row with its figure and unit, the link as a link that jumps.
source "$(dirname "$0")/lib.sh"

reset_key
start_main || exit 1

line="$(drv acc "$E2E_MAIN" '#100')"
expect "bar role (progress bar)" "$(fieldof role "$line")" 48
expect "bar name" "$(fieldof name "$line")" Breathing
phases_heard=""
for _ in 1 2 3 4 5 6; do
  value="$(fieldof value "$(drv acc "$E2E_MAIN" '#100')")"
  case "$value" in
    "Breathe in, "[0-9]*"%"|"Breathe out, "[0-9]*"%"|Hold) phases_heard="$phases_heard${value%%,*};" ;;
    *) fail "bar value '$value'" ;;
  esac
  sleep 0.7
done
expect_true "bar heard while breathing in ($phases_heard)" grep -q "Breathe in" <<<"$phases_heard"

line="$(drv acc "$E2E_MAIN" lumeno.example.com)"
expect "link role" "$(fieldof role "$line")" 30
expect "link action" "$(fieldof action "$line")" Jump

w="$(open_from_context_menu Settings Settings)"
if [ -n "$w" ]; then
  line="$(drv acc "$w" '#312')"
  expect "up-down role (spin button)" "$(fieldof role "$line")" 52
  expect "up-down name" "$(fieldof name "$line")" "Breath in for"
  expect "up-down value" "$(fieldof value "$line")" "3.0 seconds"
  drv close "$w" >/dev/null
  drv wait-gone Settings 3000 --pid "$E2E_PID" >/dev/null
else
  fail "no settings dialog"
fi

expect "closes normally" "$(close_main)" "exited code=0"
