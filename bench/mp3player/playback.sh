#!/usr/bin/env bash
# The Mp3 player's two figures, each beside Debian's mpv measured in the same run:
#
#  1. Choose-to-sound: from the moment a file is chosen in the open dialog until the
#     sound is running (libmpv reports the playback core running after "play"), over
#     a number of runs. For mpv, from its start with the file on its command line until
#     it logs "starting audio playback" (its own --msg-time clock).
#  2. Idle CPU with Loop set and a file playing: the 1 ms loop timer asks for the mode
#     on every tick. mpv plays the same file with --loop=inf. For reference, the GUI
#     thread of a bare window whose 1 ms timer does nothing (what the event loop's
#     hundred wake-ups a second cost on this machine).
#
# Usage: bench/mp3player/playback.sh [build dir] [runs] [seconds]
#   defaults: build, 20, 30. The display is $BENCH_DISPLAY (default :63); an X server is
#   started there (Xvfb) when none is running, and stopped again at the end.
#   Both players use the system's usual sound output and play silently when there is
#   no sound device, as on a headless machine.
#
# CPU is the time the process's threads spent on a CPU as a percentage of one core
# over the period (mpv: /proc/<pid>/task/*/schedstat; ours: getrusage in the harness).
set -euo pipefail

build=${1:-build}
runs=${2:-20}
seconds=${3:-30}
display=${BENCH_DISPLAY:-:63}
bench="$build/bench-bin/mp3bench"
[ -x "$bench" ] || { echo "no $bench: build the mp3bench target first" >&2; exit 1; }
command -v mpv >/dev/null || { echo "mpv is missing: scripts/install-deps --bench" >&2; exit 1; }

. "$(dirname "$0")/../common/lib.sh"
work=$(mktemp -d)
cleanup() {
  stop_display
  rm -rf "$work"
}
trap cleanup EXIT
start_display "$display"

# A minute of tone, as an ordinary 128 kbit/s stereo MP3, in a folder with a blank.
mkdir -p "$work/My Music"
song="$work/My Music/Bench Song.mp3"
ffmpeg -loglevel error -nostdin -y -f lavfi -i "sine=frequency=440:duration=60" \
  -ac 2 -ar 44100 -b:a 128k "$song"

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR) printf "%.1f", v[int((NR + 1) / 2)] }'; }

echo "== choose-to-sound, $runs runs"
"$bench" latency "$song" "$runs" 2>/dev/null | tail -n1 | sed 's/^/Mp3: /'
for _ in $(seq "$runs"); do
  mpv --no-config --vid=no --audio-fallback-to-null=yes --msg-time -v --end=0.3 "$song" 2>&1 \
    | awk -F'[][]' '/starting audio playback/ { printf "%.1f\n", $2 * 1000; exit }'
done | median | sed 's/^/mpv: start-to-sound median /; s/$/ ms/'
echo

echo "== idle CPU with Loop set and a file playing, $seconds s"
"$bench" idle "$song" "$seconds" 2>/dev/null | sed 's/^/Mp3: /'
mpv --no-config --vid=no --audio-fallback-to-null=yes --loop=inf --no-terminal "$song" >/dev/null 2>&1 &
mpv_pid=$!
sleep 2
before=$(cpu_ns "$mpv_pid")
start=$(date +%s%N)
sleep "$seconds"
after=$(cpu_ns "$mpv_pid")
end=$(date +%s%N)
kill "$mpv_pid" 2>/dev/null || true
wait "$mpv_pid" 2>/dev/null || true
# What any window with a 1 ms timer costs here, for reference.
"$bench" floor - "$seconds" 2>/dev/null | sed 's/^/reference: /'
awk -v c=$((after - before)) -v w=$((end - start)) \
  'BEGIN { printf "mpv: playing with --loop=inf: %.2f %% of a core over %.0f s\n", c / w * 100, w / 1e9 }'
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
