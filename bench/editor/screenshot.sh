#!/usr/bin/env bash
# Takes docs/editor.png: Editor on a private Xvfb display with a letter opened through
# File > Open, the caption showing its path.
#
#   bench/editor/screenshot.sh [build dir] [display]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
display=${2:-:62}
. bench/common/lib.sh
work=$(mktemp -d)
private_home "$work"
start_display "$display"
editor_pid=""
cleanup() {
  if [ -n "$editor_pid" ]; then kill "$editor_pid" 2>/dev/null || true; fi
  stop_display
  rm -rf "$work"
}
trap cleanup EXIT

letter=$HOME/letter.qlt
printf '"Dear Ms. Brandt,\r\n\r\nthank you for the price list of 3 March. We would like to order:\r\n\r\n  12 boxes of paper, A4, 80 g\r\n   4 toner cartridges\r\n   2 desk lamps\r\n\r\nPlease deliver to our office in Rue de la Gare 7, Vevey.\r\nThe invoice may go to the same address; payment within 30 days, \x80 net.\r\n\r\nKind regards,\r\nJ. M\xfcller\r\n"\r\n' > "$letter"

"$build"/bin/Editor &
editor_pid=$!
until win=$(xdotool search --pid "$editor_pid" --name "Text Editor" 2>/dev/null | head -1) && [ -n "$win" ]; do sleep 0.1; done
sleep 0.5
xdotool windowfocus --sync "$win"
xdotool key ctrl+o
until xdotool search --name "^Open$" >/dev/null 2>&1; do sleep 0.1; done
sleep 0.5
xdotool type --delay 5 "$letter"
xdotool key Return
until xdotool getwindowname "$win" | grep -q "letter.qlt"; do sleep 0.1; done
xdotool windowfocus --sync "$win"
xdotool key ctrl+End
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$win")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage docs/editor.png
echo "docs/editor.png: ${WIDTH}x${HEIGHT}"
