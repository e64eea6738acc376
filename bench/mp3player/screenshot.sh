#!/usr/bin/env bash
# Runs Mp3 under Xvfb and grabs its window: docs/mp3player.png (a file chosen through
# the open dialog, playing, Loop set) and docs/mp3player-error.png (a chosen file that
# the media interface refuses, with its error text).
#
# Usage: bench/mp3player/screenshot.sh [build dir] [docs dir]   (defaults: build, docs)
# The display is $SHOT_DISPLAY (default :63); Xvfb is started there when none is running.
set -euo pipefail

build=${1:-build}
docs=${2:-docs}
display=${SHOT_DISPLAY:-:63}
. "$(dirname "$0")/../common/lib.sh"

work=$(mktemp -d)
player=
cleanup() {
  [ -n "$player" ] && kill "$player" 2>/dev/null || true
  stop_display
  rm -rf "$work"
}
trap cleanup EXIT
start_display "$display"
mkdir -p "$work/My Music"
ffmpeg -loglevel error -nostdin -y -f lavfi -i "sine=frequency=440:duration=60" -ac 1 -b:a 64k \
  "$work/My Music/Song with blanks.mp3"
echo "not a song" >"$work/My Music/Not a song.mp3"

# start_player: runs Mp3 and sets wx, wy to its window's client area.
start_player() {
  "$build/bin/Mp3" >/dev/null 2>&1 &
  player=$!
  local win
  win=$(timeout 20 xdotool search --sync --onlyvisible --name '^Mp3 Player$' | head -n1)
  eval "$(xdotool getwindowgeometry --shell "$win")"
  wx=$X wy=$Y
  sleep 1
}
# click at a control's middle, given in twips from the client area's corner
click_twips() { xdotool mousemove $((wx + $1 / 15)) $((wy + $2 / 15)) click 1; sleep 0.3; }
choose() {
  click_twips 607 307                     # Open
  sleep 1.5                               # the dialog comes up with the name box focused
  xdotool type --delay 5 "$1"
  xdotool key Return
  sleep 0.8
}
grab() { import -window root -crop "$3x$4+$1+$2" "$5"; }

start_player
click_twips 2827 247                      # Loop
choose "$work/My Music/Song with blanks.mp3"
xdotool mousemove 0 0
sleep 0.3
grab $((wx - 4)) $((wy - 4)) 303 90 "$docs/mp3player.png"
kill "$player"; player=

start_player
choose "$work/My Music/Not a song.mp3"
sleep 0.5
grab 0 0 640 300 "$docs/mp3player-error.png"
echo "wrote $docs/mp3player.png $docs/mp3player-error.png"
