#!/usr/bin/env bash
# Idle CPU of a running Gridlark game: the window is up with its three 50 ms timers
# ticking and nobody playing. Measured twice, once with the mouse pointer away from the
# window and once resting over the board (where the pointer tick sets the cross-hair on
# every tick), and Debian's Gomoku (gomoku.app, a GNUstep board game) is measured in the
# same run for comparison.
#
# Usage: bench/tic_tac_toe/idle_cpu.sh [build dir] [seconds per measurement]
#   defaults: build, 20. The display is $BENCH_DISPLAY (default :61); an X server is
#   started there (Xvfb) when none is running, and stopped again at the end.
#
# CPU time is the sum over the process's threads of the time spent on a CPU, read from
# /proc/<pid>/task/*/schedstat (nanoseconds) before and after the measuring period; the
# figure is that time as a percentage of one core over the period.
set -euo pipefail

build=${1:-build}
seconds=${2:-20}
display=${BENCH_DISPLAY:-:61}
warmup=3
gridlark="$build/bin/Gridlark"
[ -x "$gridlark" ] || { echo "no $gridlark: build the Gridlark target first" >&2; exit 1; }

. "$(dirname "$0")/../common/lib.sh"
start_display "$display"

daemons_before=$(pgrep -x 'gdnc|gpbs' || true)
cleanup() {
  # GNUstep programs start their helper daemons on first use; stop the ones this run started.
  for pid in $(pgrep -x 'gdnc|gpbs' || true); do
    grep -qx "$pid" <<<"$daemons_before" || kill "$pid" 2>/dev/null || true
  done
  stop_display
}
trap cleanup EXIT

# measure <label> <window name> <pointer: away|over> <command...>
measure() {
  local label=$1 name=$2 pointer=$3
  shift 3
  "$@" >/dev/null 2>&1 &
  local pid=$!
  local win
  win=$(wait_window "^$name\$")
  if [ "$pointer" = over ]; then
    eval "$(xdotool getwindowgeometry --shell "$win")"
    # The middle of the board: cell 5 lies left of the window's middle.
    xdotool mousemove $((X + WIDTH * 42 / 100)) $((Y + HEIGHT * 55 / 100))
  else
    xdotool mousemove 1 1
  fi
  sleep "$warmup"
  local c0 t0 c1 t1
  c0=$(cpu_ns "$pid"); t0=$(date +%s%N)
  sleep "$seconds"
  c1=$(cpu_ns "$pid"); t1=$(date +%s%N)
  kill "$pid"; wait "$pid" 2>/dev/null || true
  awk -v l="$label" -v c=$((c1 - c0)) -v t=$((t1 - t0)) \
    'BEGIN { printf "%-40s %8.1f ms CPU in %5.1f s = %6.3f %% of one core\n", l, c / 1e6, t / 1e9, 100 * c / t }'
}

echo "Idle CPU, ${seconds} s each after ${warmup} s of warm-up, display $display"
measure "Gridlark, pointer away from the window" "Tic Tac Toe" away "$gridlark"
measure "Gridlark, pointer resting on the board" "Tic Tac Toe" over "$gridlark"
if command -v Gomoku >/dev/null; then
  measure "Gomoku (gomoku.app), pointer away" "Gomoku" away Gomoku
else
  echo "Gomoku not installed (scripts/install-deps --bench): no comparison"
fi
