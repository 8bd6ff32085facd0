#!/usr/bin/env bash
# How often the Player's main thread wakes while a song plays: its voluntary context switches
# (/proc/PID/task/PID/status) over 20 s of a 3-minute song whose lines are 1.5 s apart, under
# Xvfb and offscreen, after 5 s of settling. Target: at most 10 a second.
#   bench/player/wakeups.sh BUILD_BIN_DIR [ROUNDS]
set -euo pipefail
bin=$(cd "${1:?usage: wakeups.sh BUILD_BIN_DIR [ROUNDS]}" && pwd)
rounds=${2:-3}
settle=5
seconds=20
. "$(dirname "$0")/xvfb.sh"
command -v sox >/dev/null || { echo "sox is missing (package sox)"; exit 1; }
[ -e "$bin/LrcDir.ini" ] || : > "$bin/LrcDir.ini"
work=$(mktemp -d)
start_xvfb 1280x800x24
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT

sox -n -r 44100 -c 1 "$work/wake.ogg" synth 180 sine 440 vol 0.05
python3 - "$work/wake.lrc" <<'PY'
import sys
with open(sys.argv[1], "w", encoding="ascii", newline="\r\n") as f:
    for i in range(119):
        cs = 50 + i * 150
        f.write("[%02d:%02d.%02d]line %d\n" % (cs // 6000, cs // 100 % 60, cs % 100, i))
PY

switches() { awk '/^voluntary_ctxt_switches/ { print $2 }' "/proc/$1/task/$1/status"; }

# Wake-ups a second of the main thread of a Player started with the given environment.
rate_of() {
  env "$@" "$bin/lyrova" "$work/wake.ogg" >/dev/null 2>&1 &
  local pid=$!
  sleep "$settle"
  local before after
  before=$(switches "$pid")
  sleep "$seconds"
  after=$(switches "$pid")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  awk -v a="$before" -v b="$after" -v s="$seconds" 'BEGIN { printf "%.1f", (b - a) / s }'
}

declare -a xcb off
for round in $(seq "$rounds"); do
  xcb+=("$(rate_of DISPLAY="$display" QT_QPA_PLATFORM=xcb)")
  off+=("$(rate_of QT_QPA_PLATFORM=offscreen)")
  echo "round $round: main-thread wake-ups a second under Xvfb ${xcb[-1]}, offscreen ${off[-1]}"
done
x=$(printf '%s\n' "${xcb[@]}" | median)
o=$(printf '%s\n' "${off[@]}" | median)
echo "medians: under Xvfb $x, offscreen $o wake-ups a second (target <= 10)"
