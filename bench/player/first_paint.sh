#!/usr/bin/env bash
# Start to first window on screen, with no song: the Player against a minimal Qt program that shows
# one Chinese label, in the same run under one Xvfb. Each program is started 10 times; the time is
# until xdotool sees its window mapped (polled every 5 ms). Target: the Player takes at most 1.5 times the minimal one.
#   bench/player/first_paint.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:?usage: first_paint.sh BUILD_DIR}" && pwd)
command -v xdotool >/dev/null || apt-get install -y -qq xdotool >/dev/null
. "$(dirname "$0")/xvfb.sh"
[ -e "$build/bin/LrcDir.ini" ] || : > "$build/bin/LrcDir.ini"
start_xvfb 800x600x24
export DISPLAY=$display
unset QT_QPA_PLATFORM

time_to_window() {  # title, command...
  local title=$1; shift
  local start end pid
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1 &
  pid=$!
  # Polled by hand: xdotool's own --sync waits half a second between looks.
  until xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; do
    kill -0 "$pid" 2>/dev/null || { echo "$title ended without showing a window" >&2; exit 1; }
    sleep 0.005
  done
  end=$(date +%s%N)
  kill "$pid"; wait "$pid" 2>/dev/null || true
  echo $(( (end - start) / 1000000 ))
}


minimal=(); player=()
for _ in $(seq 10); do
  minimal+=("$(time_to_window minimal "$build/bin/bench_minimal_label")")
  player+=("$(time_to_window Lyrova "$build/bin/lyrova")")
done
m=$(printf '%s\n' "${minimal[@]}" | median)
p=$(printf '%s\n' "${player[@]}" | median)
echo "start to window, median of 10 (ms): minimal Qt label $m, Player $p"
awk -v m="$m" -v p="$p" 'BEGIN { printf "ratio %.2f (target <= 1.50)\n", p / m }'
