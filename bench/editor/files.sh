#!/usr/bin/env bash
# Times opening and saving 1, 10 and 100 MB documents (decimal megabytes) in Editor, beside
# the time to just read and write the same bytes, and FeatherPad (Debian) in the same run.
#
#   bench/editor/files.sh [build dir] [sizes in MB ...]
#
# Editor is driven by bench_editor_files on a private Xvfb display; FeatherPad is started
# with the file and timed until its window shows the file and its process stops using CPU
# (median of three; its start-up without a file, measured the same way, is given beside it),
# then modified and saved with Ctrl+S and timed until the file is written and the process is
# idle again.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
shift || true
sizes=("$@")
[ ${#sizes[@]} -eq 0 ] && sizes=(1 10 100)
display=${BENCH_DISPLAY:-:62}

command -v featherpad >/dev/null || scripts/install-deps --bench
. bench/common/lib.sh
work=$(mktemp -d)
private_home "$work"
start_display "$display"
fp_pid=""
cleanup() {
  if [ -n "$fp_pid" ]; then kill -9 "$fp_pid" 2>/dev/null || true; fi
  stop_display
  rm -rf "$work"
}
trap cleanup EXIT

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# Waits until the process has used no CPU for 0.5 s; prints when it last did (ms).
wait_idle() {
  local pid=$1 last ticks stamp quiet=0
  last=$(cpu_ticks "$pid"); stamp=$(now_ms)
  while [ $quiet -lt 10 ]; do
    sleep 0.05
    ticks=$(cpu_ticks "$pid")
    if [ "$ticks" != "$last" ]; then last=$ticks; stamp=$(now_ms); quiet=0; else quiet=$((quiet + 1)); fi
  done
  echo "$stamp"
}

# FeatherPad started with or without a file: ms until its window is up and idle, in $took.
fp_start() {
  local file=$1 name=$2 start end
  start=$(now_ms)
  if [ -n "$file" ]; then featherpad --standalone "$file" >/dev/null 2>&1 &
  else featherpad --standalone >/dev/null 2>&1 & fi
  fp_pid=$!
  until xdotool search --pid "$fp_pid" --name "$name" >/dev/null 2>&1; do
    if ! kill -0 "$fp_pid" 2>/dev/null; then took="ended"; fp_pid=""; return; fi
    sleep 0.02
  done
  end=$(wait_idle "$fp_pid")
  took=$((end - start))
}

# The median of three runs of fp_start, in $took; FeatherPad is left running after the last.
# Now and then FeatherPad ends by itself while starting under Xvfb; such a start is tried
# again, up to three times in all, before the figure is given up.
fp_start3() {
  local runs=() tries=0
  while [ ${#runs[@]} -lt 3 ]; do
    fp_start "$1" "$2"
    if [ "$took" = ended ]; then
      tries=$((tries + 1))
      [ $tries -ge 3 ] && return
      continue
    fi
    runs+=("$took")
    [ ${#runs[@]} -lt 3 ] && fp_stop
  done
  took=$(printf '%s\n' "${runs[@]}" | sort -n | sed -n 2p)
}

fp_save() {
  local file=$1 win start end before
  win=$(xdotool search --pid "$fp_pid" --name "$(basename "$file")" | head -1)
  xdotool windowfocus --sync "$win" 2>/dev/null || xdotool windowactivate --sync "$win" 2>/dev/null || true
  xdotool key --window "$win" ctrl+Home x
  wait_idle "$fp_pid" >/dev/null
  before=$(stat -c '%.9Y %s' "$file")
  start=$(now_ms)
  xdotool key --window "$win" ctrl+s
  until [ "$(stat -c '%.9Y %s' "$file")" != "$before" ]; do sleep 0.02; done
  end=$(wait_idle "$fp_pid")
  took=$((end - start))
}

fp_stop() { kill -9 "$fp_pid" 2>/dev/null || true; wait "$fp_pid" 2>/dev/null || true; fp_pid=""; }

printf '%s\n' "size_mb,read_ms,write_fsync_ms,editor_open_ms,editor_open_stall_ms,editor_save_ms,editor_save_stall_ms,editor_key_end_ms,editor_key_start_ms,featherpad_open_ms,featherpad_save_ms"
fp_start3 "" "FeatherPad"; baseline=$took; fp_stop
for mb in "${sizes[@]}"; do
  doc=$work/doc-$mb.qlt
  python3 bench/editor/make_document.py "$doc" $((mb * 1000000))
  cat "$doc" >/dev/null   # both programs start from a warm cache
  out=$("$build"/bench-bin/bench_editor_files "$doc" "$work/saved-$mb.qlt" 2>/dev/null)
  get() { echo "$out" | awk -v k="$1" '$1 == k {print $2}'; }
  [ "$(get saved_ok)" = 1 ] || { echo "Editor did not save the $mb MB document" >&2; exit 1; }
  fp_copy=$work/fp-$mb.txt
  cp "$doc" "$fp_copy"
  fp_start3 "$fp_copy" "fp-$mb.txt"
  if [ "$took" = ended ]; then
    fp_open="ended before showing the file"; fp_saved="-"
  else
    fp_open="$took (start-up $baseline)"
    fp_save "$fp_copy"; fp_saved=$took
    fp_stop
  fi
  printf '%s,%s,%s,%s,%s,%s,%s,%s/%s,%s/%s,%s,%s\n' "$mb" "$(get read_ms)" "$(get write_fsync_ms)" \
    "$(get open_ms)" "$(get open_longest_stall_ms)" "$(get save_ms)" "$(get save_longest_stall_ms)" \
    "$(get key_end_median_ms)" "$(get key_end_worst_ms)" "$(get key_start_median_ms)" "$(get key_start_worst_ms)" \
    "$fp_open" "$fp_saved"
done
