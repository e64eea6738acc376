#!/bin/sh
# Idle CPU of the DVD player: the panel polls the video window every millisecond
# (which the timer layer turns into every 16 ms). Measured under Xvfb, as the share
# of one core used over a quiet stretch, for three cases:
#   no disc     - nothing to play (the status refresh gives up after its first try)
#   disc paused - the test disc opened and paused on its first frame, as at start-up
#   mpv paused  - Debian's mpv paused on the same disc, for comparison
# and, for scale, both playing the disc (picture drawn in software, no sound device).
#
#   bench/dvdplayer/idle_cpu.sh [build folder] [display] [seconds]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build}
display=${2:-:65}
seconds=${3:-30}
work=$(mktemp -d)
cleanup() {
  stop_display
  rm -rf "$work"
}
trap cleanup EXIT

. "$here/session.sh"

# Share of one core used by process $1 (all its threads) over $seconds, after it has
# settled: perf's task clock where perf is there, else the kernel's tick counts.
measure() {
  sleep 5
  if command -v perf >/dev/null && perf stat -x, -e task-clock -p "$1" -o "$work/perf.txt" -- sleep "$seconds" 2>/dev/null; then
    awk -F, -v s="$seconds" '/task-clock/ {printf "%.2f %% of one core (%.1f ms in %d s)", $1 / 10 / s, $1, s}' "$work/perf.txt"
    return
  fi
  t0=$(cpu_ticks "$1"); s0=$(date +%s.%N)
  sleep "$seconds"
  t1=$(cpu_ticks "$1"); s1=$(date +%s.%N)
  echo "$t0 $t1 $s0 $s1 $(getconf CLK_TCK)" | awk '{printf "%.2f %% of one core (%.0f ms in %.0f s)", 100 * ($2 - $1) / $5 / ($4 - $3), 1000 * ($2 - $1) / $5, $4 - $3}'
}
run_dvd() {   # disc [play]
  printf '[Drive]\nDevice=%s\n' "$1" > "$XDG_CONFIG_HOME/tavolin/DVD Player.ini"
  "$build/bin/DVD" >/dev/null 2>&1 &
  pid=$!
  if [ "${2:-}" = play ]; then
    panel=$(xdotool search --sync --onlyvisible --name "Controls--MOVIE" | head -1)
    xdotool mousemove --window "$panel" 152 16 click 1
  fi
  cpu=$(measure $pid)
  kill $pid; wait $pid 2>/dev/null || true
  echo "$cpu"
}

echo "DVD, no disc:        $(run_dvd "$work/no-disc")"
echo "DVD, disc paused:    $(run_dvd "$work/disc")"
run_mpv() {   # extra mpv options
  mpv --no-config --vo=x11 --ao=null --geometry=631x456 --dvd-device="$work/disc" "$@" dvdnav:// >/dev/null 2>&1 &
  pid=$!
  cpu=$(measure $pid)
  kill $pid; wait $pid 2>/dev/null || true
  echo "$cpu"
}
if command -v mpv >/dev/null; then
  echo "mpv, disc paused:    $(run_mpv --pause)"
fi
echo "DVD, playing:        $(run_dvd "$work/disc" play)"
if command -v mpv >/dev/null; then
  echo "mpv, playing:        $(run_mpv --loop-file=inf)"
fi
