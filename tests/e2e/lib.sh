# Shared by the end-to-end scenarios: each is run as
#   bash tests/e2e/<name>.sh path/to/lumeno.exe path/to/lumeno_driver.exe
# inside a Wine prefix with a running server and a display (scripts/test sets
# them up). A scenario resets Lumeno's key first, kills every lumeno.exe it
# started on every exit path, and ends with "N passed, N failed".
# shellcheck shell=bash
set -uo pipefail

E2E_EXE="${1:?lumeno.exe}"
E2E_DRIVER="${2:?lumeno_driver.exe}"
E2E_NAME="$(basename "$0" .sh)"
E2E_PASSED=0
E2E_FAILED=0
E2E_PIDS=()
E2E_OUT="${TMPDIR:-/tmp}/lumeno-e2e-$E2E_NAME.$$"
mkdir -p "$E2E_OUT"

: "${DISPLAY:?the scenarios need a display}"
: "${WINEPREFIX:?the scenarios need a Wine prefix}"
export WINEDEBUG=-all

# The exe's Windows path: Wine maps / to Z:.
win_path() { printf 'Z:%s' "$(realpath "$1" | tr '/' '\\')"; }
E2E_EXE_WIN="$(win_path "$E2E_EXE")"
E2E_DRIVER_WIN="$(win_path "$E2E_DRIVER")"

# drv ARGS...: runs the driver; stdout without carriage returns.
drv() { wine "$E2E_DRIVER" "$@" </dev/null 2>>"$E2E_OUT/driver.err" | tr -d '\r'; }

# field NAME: the value of NAME=... (quoted or bare) in the line on stdin.
field() { sed -n "s/^\(.* \)\{0,1\}$1=\"\([^\"]*\)\".*/\2/p; t; s/^\(.* \)\{0,1\}$1=\([^ ]*\).*/\2/p" | head -n1; }
fieldof() { printf ' %s\n' "$2" | field "$1"; }

pass() { E2E_PASSED=$((E2E_PASSED + 1)); printf 'ok   %s\n' "$*"; }
fail() { E2E_FAILED=$((E2E_FAILED + 1)); printf 'FAIL %s\n' "$*"; }
# expect WHAT ACTUAL EXPECTED
expect() {
  if [ "$2" = "$3" ]; then pass "$1: $2"; else fail "$1: got '$2', expected '$3'"; fi
}
# expect_true WHAT COMMAND...
expect_true() {
  local what="$1"; shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}
# within WHAT ACTUAL NOMINAL TOLERANCE (numbers, ms)
within() {
  if awk -v a="$2" -v n="$3" -v t="$4" 'BEGIN { d = a - n; if (d < 0) d = -d; exit !(d <= t) }'; then
    pass "$1: $2 ms (nominal $3 ± $4)"
  else
    fail "$1: $2 ms, nominal $3 ± $4"
  fi
}

reset_key() { drv reg del-key >/dev/null; }

# The settings key in one line per value: name=type:data
reg_dump() { drv reg dump | sed -n 's/^value name="\([^"]*\)" type=\([^ ]*\) size=[0-9]* data=\(.*\)$/\1=\2:\3/p'; }
# reg_get NAME: type:data, or "missing"
reg_get() {
  local line
  line="$(drv reg get "$1")"
  case "$line" in
    type=*) printf '%s:%s\n' "$(fieldof type "$line")" "$(fieldof data "$line")" ;;
    *) echo missing ;;
  esac
}

# start_lumeno: starts lumeno.exe under a "driver run" that reports its exit
# code; records its pid in E2E_PID.
declare -A E2E_RUNFILE
E2E_RUNS=0
# start_lumeno [WINDOWS_EXE]: another program may be given. Its standard error
# (Wine's traces) goes to E2E_STDERR when that names a file.
start_lumeno() {
  E2E_RUNS=$((E2E_RUNS + 1))
  local file="$E2E_OUT/run.$E2E_RUNS" i
  # Through a file, not a pipe: the started process inherits the output.
  wine "$E2E_DRIVER" run "${1:-$E2E_EXE_WIN}" </dev/null >"$file" 2>>"${E2E_STDERR:-$E2E_OUT/driver.err}" &
  E2E_PID=""
  for i in $(seq 1 200); do
    E2E_PID="$(tr -d '\r' <"$file" | field pid)"
    [ -n "$E2E_PID" ] && break
    sleep 0.05
  done
  [ -n "$E2E_PID" ] || { fail "lumeno.exe did not start"; return 1; }
  E2E_RUNFILE[$E2E_PID]="$file"
  E2E_PIDS+=("$E2E_PID")
}

# proc_exit PID [MS]: "exited code=N" once the process has ended (waiting up
# to MS), else "running".
proc_exit() {
  local file="${E2E_RUNFILE[$1]:-}" until line
  until=$(($(date +%s%3N) + ${2:-0}))
  while :; do
    line="$(tr -d '\r' <"$file" 2>/dev/null | grep '^exited' | head -n1)"
    [ -n "$line" ] && { echo "$line"; return 0; }
    [ "$(date +%s%3N)" -ge "$until" ] && { echo running; return 1; }
    sleep 0.05
  done
}

# main_window [PID]: the visible main window's line, waiting for it.
main_window() { drv find Lumeno --class TFormLumeno --pid "${1:-$E2E_PID}" --wait "${2:-10000}"; }

# start_main [WINDOWS_EXE]: starts Lumeno (or that copy) and waits for its main window; sets E2E_MAIN (hwnd).
start_main() {
  start_lumeno "$@" || return 1
  local line
  line="$(main_window)"
  E2E_MAIN="$(fieldof hwnd "$line")"
  [ -n "$E2E_MAIN" ] || { fail "no main window"; return 1; }
  # The first pacer ticks and paint.
  sleep 0.3
}

# close_main: closes the main window the way its close button does and waits
# for the process to end; prints the exit line.
close_main() {
  drv close "$E2E_MAIN" >/dev/null
  proc_exit "$E2E_PID" "${1:-10000}"
}

kill_started() {
  local pid
  for pid in "${E2E_PIDS[@]}"; do
    [ "$(proc_exit "$pid")" = running ] && drv kill "$pid" >/dev/null 2>&1
  done
  E2E_PIDS=()
  wait
}

e2e_finish() {
  local rc=$?
  kill_started
  reset_key
  if [ -s "$E2E_OUT/driver.err" ]; then
    echo "driver messages:"; sed 's/^/  /' "$E2E_OUT/driver.err"
  fi
  rm -rf "$E2E_OUT"
  echo "$E2E_NAME: $E2E_PASSED passed, $E2E_FAILED failed"
  if [ "$E2E_FAILED" -ne 0 ] || [ "$E2E_PASSED" -eq 0 ]; then exit 1; fi
  exit "$rc"
}
trap e2e_finish EXIT
trap 'exit 130' INT TERM

# dialog_window CAPTION: the visible window of that caption in Lumeno's process.
dialog_window() { drv find "$1" --pid "$E2E_PID" --wait "${2:-5000}" | field hwnd; }

# Opening a window from the side menu or the context menu.
open_from_menu_button() {  # BUTTON_TEXT WINDOW_CAPTION
  drv click "$E2E_MAIN" "$1" >/dev/null
  dialog_window "$2"
}

# move_aside WIN: moves a window off the bar so the bar can be read on screen.
move_aside() {
  local r w h
  r="$(fieldof rect "$(drv info "$1")")"
  IFS=, read -r _ _ w h <<<"$r"
  drv move "$1" 700 60 "$w" "$h" >/dev/null
}

# The context menu's layout, for when the menu cannot be read from outside.
E2E_MENU_ITEMS="Instruction,-,Settings,About,-,Exit"
open_from_context_menu() {  # ITEM WINDOW_CAPTION
  drv rclick "$E2E_MAIN" >/dev/null
  drv menu-pick "$1" --items "$E2E_MENU_ITEMS" >/dev/null || { fail "context menu item $1"; return 1; }
  [ -z "${2:-}" ] || dialog_window "$2"
}

# bar_moving [MS] [INTERVAL]: "moving" if the bar's fill changes while sampled.
bar_moving() {
  drv bar-sample "$E2E_MAIN" "${1:-600}" "${2:-200}" |
    awk '/^sample/ { split($3, f, "="); if (n++ == 0) first = f[2]; else if (f[2] != first) moved = 1 }
         END { r = moved ? "moving" : "still"; print r }'
}

# bar_samples MS FILE [INTERVAL]: samples the bar's filled rows every INTERVAL ms (10).
bar_samples() { drv bar-sample "$E2E_MAIN" "$1" "${3:-10}" >"$2"; }

# phases FILE: the completed phases seen in the samples, one per line:
#   <rising|full|falling|empty> <duration ms> <start ms>
# A phase is timed from the middle of the two samples around its start to the
# middle of the two around its end; the first and last (cut-off) runs are dropped.
phases() {
  awk '
    /^sample / {
      for (i = 2; i <= NF; i++) { split($i, kv, "="); v[kv[1]] = kv[2] }
      t = v["t"] + 0; f = v["fill"] + 0; n = v["track"] + 0
      s = (f == 0) ? "E" : (f >= n ? "F" : "M")
      if (s == "M" && prev == "F") s = "D"     # moving down
      else if (s == "M" && prev == "D") s = "D"
      else if (s == "M") s = "U"              # moving up
      if (s != prev) {
        edge = (prevt == "") ? t : (prevt + t) / 2
        if (prev != "" && started) printf "%s %.0f %.0f\n", name[prev], edge - since, since
        if (prev != "") started = 1
        since = edge; prev = s
      }
      prevt = t
    }
    BEGIN { name["E"] = "empty"; name["F"] = "full"; name["U"] = "rising"; name["D"] = "falling" }
  ' "$1"
}

# check_phases FILE IN FULL OUT EMPTY COUNT: the first COUNT complete phases
# seen (the run cut off by the start of sampling is not counted), each within
# E2E_PHASE_TOL ms of its nominal length, and in the bar's order.
#
# Allowance: a moving phase ends at the first tick at or past its length and a
# pause lasts one timer interval plus the tick that ends it, so each phase runs
# its nominal length plus up to one timer period (10 ms under Wine); samples
# are 10 ms apart at most; on a loaded 2-core machine scheduling adds more.
# Hence 10 ms + 150 ms.
E2E_PHASE_TOL=160
check_phases() {
  local file="$1" count="$6" i=0 kind ms at
  phases "$file" | head -n "$count" >"$file.phases"
  expect "complete phases seen" "$(wc -l <"$file.phases")" "$count"
  while read -r kind ms at; do
    i=$((i + 1))
    case "$kind" in
      rising) within "phase $i rising (at $at ms)" "$ms" "$2" $E2E_PHASE_TOL ;;
      full) within "phase $i full (at $at ms)" "$ms" "$3" $E2E_PHASE_TOL ;;
      falling) within "phase $i falling (at $at ms)" "$ms" "$4" $E2E_PHASE_TOL ;;
      empty) within "phase $i empty (at $at ms)" "$ms" "$5" $E2E_PHASE_TOL ;;
    esac
  done <"$file.phases"
  local order
  order="$(awk 'BEGIN { nx["rising"] = "full"; nx["full"] = "falling"; nx["falling"] = "empty"; nx["empty"] = "rising" }
                NR > 1 && $1 != nx[p] { bad = bad " " p "->" $1 } { p = $1 } END { r = (bad == "") ? "in order" : bad; print r }' "$file.phases")"
  expect "phase order" "$order" "in order"
}

# figures WIN: the settings dialog's six figures as "cycle rate in holdin out holdout",
# with the locale's decimal separator shown as a point.
figures() {
  drv value "$1" "Cycle duration is" "It is" "Breath in for" "Hold in for" "Breath out for" "Hold out for" |
    sed -n 's/^value="\(.*\)"$/\1/p' | tr ',' '.' | paste -sd' '
}

# The seven settings with their defaults, as "reg batch" operations.
E2E_GOOD_SETTINGS=("set-dword|Breath In|30" "set-dword|Breath Out|60" "set-dword|Hold In|5"
  "set-dword|Hold Out|5" "set-dword|Stay on top|0" "set-dword|Menu open|1" "set-dword|Enable sounds|1")
E2E_GOOD_PLACEMENT=("set-dword|RCLeft|300" "set-dword|RCTop|100" "set-dword|RCWidth|229"
  "set-dword|RCHeight|480" "set-binary|RCWindowState|00" "set-dword|ZOrder|0")

# The kinds of bad data a value can hold, as "reg batch" operations on NAME.
bad_kinds() { echo "missing string too-long-binary qword zero negative int32-min int32-max"; }
bad_op() {  # KIND NAME
  case "$1" in
    missing) echo "del-value|$2" ;;
    string) echo "set-sz|$2|30" ;;
    too-long-binary) echo "set-binary|$2|1e0000001e000000" ;;
    qword) echo "set-qword|$2|30" ;;
    zero) echo "set-dword|$2|0" ;;
    negative) echo "set-dword|$2|-1" ;;
    int32-min) echo "set-dword|$2|-2147483648" ;;
    int32-max) echo "set-dword|$2|2147483647" ;;
  esac
}

# survives CASE MOVES OPS...: Lumeno started on this key content starts, keeps
# running and answering, (with MOVES=1) keeps its bar moving, and closes
# cleanly.
survives() {
  local name="$1" moves="$2"; shift 2
  drv reg batch del-key "$@" >/dev/null || { fail "$name: could not write the key"; return; }
  start_lumeno || return
  local line
  line="$(drv find Lumeno --class TFormLumeno --pid "$E2E_PID" --wait 10000)"
  E2E_MAIN="$(fieldof hwnd "$line")"
  if [ -z "$E2E_MAIN" ]; then
    fail "$name: no main window"
    drv kill "$E2E_PID" >/dev/null
    return
  fi
  if [ "$moves" = 1 ]; then
    local m
    m="$(bar_moving 900 300)"
    [ "$m" = moving ] || { fail "$name: the bar stands still"; }
  else
    sleep 0.9
  fi
  if [ "$(proc_exit "$E2E_PID")" != running ]; then
    fail "$name: Lumeno ended"
    return
  fi
  if [ "$(fieldof caption "$(drv info "$E2E_MAIN")")" != Lumeno ]; then
    fail "$name: no answer from the window"
  fi
  local out
  out="$(close_main)"
  if [ "$out" = "exited code=0" ]; then
    pass "$name"
  else
    # What was left of it, so that a slow or stuck close can be told apart.
    fail "$name: close gave '$out'; the main window then: $(drv info "$E2E_MAIN" 2>&1 | head -n1)"
    drv kill "$E2E_PID" >/dev/null
  fi
}
