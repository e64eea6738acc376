# Sourced by the benchmark scripts (sh or bash): the display, a private home and the
# CPU readings they share.

# start_display <display> [log file]: exports DISPLAY; starts Xvfb there unless an X server
# already answers, and waits until it does. $xvfb_pid is the server started here, if any.
start_display() {
  export DISPLAY="$1"
  xvfb_pid=
  if ! xdpyinfo >/dev/null 2>&1; then
    Xvfb "$1" -screen 0 1280x1024x24 -nolisten tcp >"${2:-/dev/null}" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  fi
}

# stop_display: stops the X server that start_display started, and waits until it has gone.
stop_display() {
  if [ -n "${xvfb_pid:-}" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
}

# private_home <folder>: a fresh home, settings folder and runtime folder inside <folder>.
private_home() {
  export HOME="$1/home" XDG_CONFIG_HOME="$1/config" XDG_RUNTIME_DIR="$1/runtime"
  mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
}

# cpu_ns <pid>: the time all the process's threads have spent on a CPU, in nanoseconds.
cpu_ns() {
  local total=0 t v
  for t in /proc/"$1"/task/*/schedstat; do
    read -r v _ <"$t" 2>/dev/null || continue
    total=$((total + v))
  done
  echo "$total"
}

# cpu_ticks <pid>: the process's user and system time in clock ticks (0 once it has ended).
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }

# wait_window <name pattern> [seconds]: prints the id of the first visible window whose name
# matches, once there is one. Unlike `xdotool search --sync`, a window that goes away while it
# is being looked at (some programs show and drop windows while starting) is only passed over.
wait_window() {
  local win i
  for i in $(seq $((${2:-20} * 10))); do
    win=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1) || true
    if [ -n "$win" ]; then echo "$win"; return 0; fi
    sleep 0.1
  done
  echo "no window named $1 after ${2:-20} s" >&2
  return 1
}
