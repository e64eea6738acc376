#!/usr/bin/env bash
# Start-up of Tavolin to its first painted window, on a private Xvfb display.
# Usage: bench/launcher/startup.sh [build folder] [runs]
set -euo pipefail
build="${1:-build}"
runs="${2:-20}"
harness="$build/bench-bin/bench_launcher_startup"
[ -x "$harness" ] || { echo "build $harness first (cmake --build $build --target bench_launcher_startup)" >&2; exit 1; }

. "$(dirname "$0")/../common/lib.sh"
home=$(mktemp -d)
trap 'stop_display; rm -rf "$home"' EXIT
start_display :77

export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home
"$harness" "$(date +%s%N)" >/dev/null   # warm the file cache once
times=()
for _ in $(seq "$runs"); do
  times+=("$("$harness" "$(date +%s%N)")")
done
printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "runs %d  median %.1f ms  min %.1f ms  max %.1f ms\n", NR, a[int((NR+1)/2)], a[1], a[NR]}'
