#!/bin/sh
# Takes docs/dvd.png: the DVD player under Xvfb playing the test disc, with the video
# window showing chapter 2 and the panel, after its first status refresh, below it.
#   bench/dvdplayer/screenshot.sh [build folder] [display] [output png]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build}
display=${2:-:65}
out=${3:-$root/docs/dvd.png}
work=$(mktemp -d)
dvd_pid=
cleanup() {
  [ -n "$dvd_pid" ] && kill "$dvd_pid" 2>/dev/null || true
  stop_display
  rm -rf "$work"
}
trap cleanup EXIT

. "$here/session.sh"
printf '[Drive]\nDevice=%s\n' "$work/disc" > "$XDG_CONFIG_HOME/tavolin/DVD Player.ini"

"$build/bin/DVD" >/dev/null 2>&1 &
dvd_pid=$!
sleep 2
panel=$(xdotool search --sync --onlyvisible --name "Controls--MOVIE" | head -1)
click() {   # a button of the panel, by its position in the panel (pixels)
  xdotool mousemove --window "$panel" "$1" "$2" click 1
}
# Play, skip to chapter 2 and pause just after the first status refresh, which
# comes 10 seconds after start-up.
sleep 6.5
click 152 16    # Play >
sleep 0.5
click 152 40    # Scene >
sleep 1.8
click 208 16    # the first blank button: pause
sleep 0.3
# Xvfb has no window manager and a black root window: lay the two windows out where
# they are, each with a thin edge, on a desktop-coloured background.
video=$(xdotool search --onlyvisible --name "Varrow's DVD Player" | head -1)
layer() {   # window id -> "-page +x+y file"
  eval "$(xdotool getwindowgeometry --shell "$1")"
  import -window "$1" "$work/$1-raw.png"
  convert "$work/$1-raw.png" -bordercolor '#202020' -border 1 "$work/$1.png"
  echo "-page +$((X + 4))+$((Y + 4)) $work/$1.png"
}
convert -size 680x800 xc:'#3a6ea5' $(layer "$video") $(layer "$panel") -flatten \
  -crop 670x800+0+0 +repage "$out"
echo "wrote $out"
