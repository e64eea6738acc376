#!/usr/bin/env bash
# Browser beside Debian's Falkon (both on Qt WebEngine), on a private Xvfb display:
#  - start-up: time from starting the process to its first window on screen (polled with
#    xdotool every few ms), for both; and Browser's own first paint from inside the process;
#  - memory: the proportional set size (PSS) of the program and all its engine processes,
#    2 s after the start page has been served.
# Every request goes to a page server on 127.0.0.1 that also acts as the engines' HTTP proxy,
# so nothing leaves the machine.
# Usage: bench/browser/run.sh [build folder] [runs]
set -euo pipefail
build="${1:-build}"
runs="${2:-10}"
here="$(cd "$(dirname "$0")" && pwd)"
browser="$build/bin/Browser"
harness="$build/bench-bin/bench_browser_startup"
for f in "$browser" "$harness"; do
  [ -x "$f" ] || { echo "build $f first (cmake --build $build --target Browser bench_browser_startup)" >&2; exit 1; }
done
command -v falkon >/dev/null || { echo "falkon is missing: scripts/install-deps --bench" >&2; exit 1; }

display=""
for n in $(seq 170 220); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
. "$here/../common/lib.sh"
work=$(mktemp -d)
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
server=
trap 'stop_display; kill $server 2>/dev/null || true; rm -rf "$work"' EXIT
start_display "$display" "$work/xvfb.log"
python3 "$here/pageserver.py" "$port" "$work/requests.log" &
server=$!

# Chromium runs no sandbox as root (Browser does the same for itself).
if [ "$(id -u)" = 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --proxy-server=http://127.0.0.1:$port"
start_page="http://www.brambleton.example/"

fresh_home() {   # a new, empty home for each run: no profile, cache or session left over
  local home="$work/home-$RANDOM$RANDOM"
  mkdir -p "$home"
  export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_CACHE_HOME=$home/cache XDG_RUNTIME_DIR=$home
  chmod 700 "$home"
}

descendants() {   # the process and all its children, grandchildren...
  local pid=$1
  echo "$pid"
  for child in $(pgrep -P "$pid" || true); do descendants "$child"; done
}

pss_kib() {
  local total=0 v
  for p in $(descendants "$1"); do
    v=$(awk '/^Pss:/ {print $2}' "/proc/$p/smaps_rollup" 2>/dev/null || echo 0)
    total=$((total + ${v:-0}))
  done
  echo "$total"
}

stop_tree() {
  local pids
  pids=$(descendants "$1")
  kill $pids 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}

# Starts a program, prints the milliseconds to its first visible window and then its PSS
# in KiB once the start page has been served and 2 s have passed.
measure() {
  fresh_home
  : > "$work/requests.log"
  local t0 t1 pid
  t0=$(date +%s%N)
  "$@" >"$work/program.log" 2>&1 &
  pid=$!
  until xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; do
    kill -0 "$pid" 2>/dev/null || { echo "$1 ended early:" >&2; cat "$work/program.log" "$work/xvfb.log" >&2; exit 1; }
    sleep 0.003
  done
  t1=$(date +%s%N)
  for _ in $(seq 300); do grep -q "GET $start_page" "$work/requests.log" && break; sleep 0.05; done
  sleep 2
  echo "$(( (t1 - t0) / 1000 )) $(pss_kib "$pid")"
  stop_tree "$pid"
}

median() { sort -n | awk '{a[NR]=$1} END {printf "%.1f", (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }

"$harness" "$(date +%s%N)" >/dev/null 2>&1 || true   # warm the file cache once
falkon --no-remote --profile=bench "$start_page" >/dev/null 2>&1 & sleep 4; stop_tree $!

paint=(); b_win=(); b_mem=(); f_win=(); f_mem=()
for _ in $(seq "$runs"); do
  fresh_home
  paint+=("$("$harness" "$(date +%s%N)" 2>/dev/null)")
  read -r w m < <(measure "$browser"); b_win+=("$w"); b_mem+=("$m")
  read -r w m < <(measure falkon --no-remote --profile=bench "$start_page"); f_win+=("$w"); f_mem+=("$m")
done
printf 'runs %d, medians\n' "$runs"
printf 'Browser  first paint (in process)  %s ms\n' "$(printf '%s\n' "${paint[@]}" | median)"
printf 'Browser  window on screen          %s ms\n' "$(printf '%s\n' "${b_win[@]}" | awk '{print $1/1000}' | median)"
printf 'Falkon   window on screen          %s ms\n' "$(printf '%s\n' "${f_win[@]}" | awk '{print $1/1000}' | median)"
printf 'Browser  memory after one page     %s MiB PSS\n' "$(printf '%s\n' "${b_mem[@]}" | awk '{print $1/1024}' | median)"
printf 'Falkon   memory after one page     %s MiB PSS\n' "$(printf '%s\n' "${f_mem[@]}" | awk '{print $1/1024}' | median)"
