# Sourced by the DVD benchmarks after they set $root, $display and $work: the helpers of
# bench/common/lib.sh, a private X display when none answers on $display (stop_display
# stops it), a private home and settings folder, and the test disc authored into $work/disc.
. "$root/bench/common/lib.sh"
start_display "$display"
private_home "$work"
mkdir -p "$XDG_CONFIG_HOME/tavolin"
sh "$root/tests/fixtures/dvd/make-test-dvd.sh" "$work/disc"
