#!/usr/bin/env bash
# Plays part of a Gridlark session under Xvfb and grabs the window with the mouse
# pointer drawn in: docs/gridlark.png (a game in progress, X to move, the cross-hair
# over the board) and docs/gridlark-win.png (a line just completed, its announcement open).
#
# Usage: bench/tic_tac_toe/screenshot.sh [build dir] [docs dir]   (defaults: build, docs)
# The display is $SHOT_DISPLAY (default :61); Xvfb is started there when none is running.
set -euo pipefail

build=${1:-build}
docs=${2:-docs}
display=${SHOT_DISPLAY:-:61}
. "$(dirname "$0")/../common/lib.sh"
start_display "$display"

"$build/bin/Gridlark" >/dev/null 2>&1 &
game=$!
trap 'kill $game 2>/dev/null || true; stop_display' EXIT

win=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tic Tac Toe$' | head -n1)
eval "$(xdotool getwindowgeometry --shell "$win")"
wx=$X wy=$Y ww=$WIDTH wh=$HEIGHT

# The middle of cell n in screen pixels (cells run down the columns, 15 twips a pixel).
cell_xy() {
  local col=$(( ($1 - 1) / 3 )) row=$(( ($1 - 1) % 3 ))
  local xs=(68 144 220) ys=(92 168 244)
  echo "$((wx + xs[col])) $((wy + ys[row]))"
}
play() {
  for c in "$@"; do
    xdotool mousemove $(cell_xy "$c") click 1
    sleep 0.15
  done
}
dismiss() {
  local box
  box=$(timeout 10 xdotool search --sync --onlyvisible --name '^The End$' | head -n1)
  xdotool windowfocus --sync "$box" key Return
  sleep 0.3
}
grab() {  # grab <file> <x> <y> <width> <height>
  ffmpeg -loglevel error -y -f x11grab -draw_mouse 1 -video_size "$4x$5" -i "$display+$2,$3" \
    -frames:v 1 "$1"
}

play 1 2 4 5 7          # X wins the top row
dismiss
play 4 1 5 2 6          # O begins and wins the middle column
dismiss
play 5 1 7 3            # X begins the third game; O threatens the left column
xdotool mousemove $(cell_xy 2)
sleep 0.3
grab "$docs/gridlark.png" $((wx - 20)) $((wy - 20)) $((ww + 40)) $((wh + 40))

play 2                  # X blocks, and
play 9 8                # ... O plays 9, X completes the middle row
xdotool mousemove $(cell_xy 8)
box=$(timeout 10 xdotool search --sync --onlyvisible --name '^The End$' | head -n1)
sleep 0.3
grab "$docs/gridlark-win.png" $((wx - 20)) $((wy - 20)) $((ww + 40)) $((wh + 40))
xdotool windowfocus --sync "$box" key Return
echo "wrote $docs/gridlark.png and $docs/gridlark-win.png"
