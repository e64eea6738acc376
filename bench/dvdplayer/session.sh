# Sourced by the DVD benchmarks after they set $root, $display and $work: a private X
# display when none answers on $display (its pid in $xvfb_pid), a private home and
# settings folder, and the test disc authored into $work/disc.
xvfb_pid=
if ! DISPLAY=$display xdpyinfo >/dev/null 2>&1; then
  Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
  xvfb_pid=$!
  sleep 1
fi
export DISPLAY=$display HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" "$XDG_CONFIG_HOME/tavolin" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
sh "$root/tests/fixtures/dvd/make-test-dvd.sh" "$work/disc"
