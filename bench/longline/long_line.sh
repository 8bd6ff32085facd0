#!/usr/bin/env bash
# One very long lyric line: opens a lyrics file whose first timed line holds SIZE_MB megabytes of
# text (ASCII, then Chinese in UTF-8) in the Player and in the Editor, under a private Xvfb, and
# prints per program the time to its window, the time until its window answers the window
# manager's ping again within 100 ms (the Player after the long line became current, 1 s into
# the song), the longest unanswered ping, and the peak RSS against the file's size.
# Target: ready within 3 s, peak RSS at most 4 times the file's size.
#   bench/longline/long_line.sh BUILD_DIR [SIZE_MB] [RUNS]
set -euo pipefail
build=$(cd "${1:?usage: long_line.sh BUILD_DIR [SIZE_MB] [RUNS]}" && pwd)
size_mb=${2:-50}
runs=${3:-3}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../player/xvfb.sh"

work=$build/bench-longline
mkdir -p "$work"
probe=$work/window_probe
cc -O2 -Wall -o "$probe" "$here/window_probe.c" -lX11
cp "$here/../../demo/demo.ogg" "$work/long.ogg"
[ -e "$build/bin/LrcDir.ini" ] || : > "$build/bin/LrcDir.ini"

# The long line at 1 s and a short one after it; the Chinese file is UTF-8.
make_lyrics() {  # kind
  python3 - "$work/long.lrc" "$size_mb" "$1" <<'EOF'
import sys
path, size, kind = sys.argv[1], int(sys.argv[2]) * 1000 * 1000, sys.argv[3]
unit = ("la la la, the river runs " if kind == "ascii" else "月光照在河面上，").encode()
body = unit * (size // len(unit))
with open(path, "wb") as f:
    f.write(b"[00:01.00]" + body + b"\r\n[00:02.00]" + "第二行".encode() + b"\r\n")
EOF
}

start_xvfb 1280x800x24
export DISPLAY=$display
unset QT_QPA_PLATFORM
# Private settings: the defaults (play on open) and nothing of the user's.
export XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache

probe() {  # label, probe arguments...
  local label=$1; shift
  local results=$work/results
  : > "$results"
  for _ in $(seq "$runs"); do
    rm -rf "$work/config"
    "$probe" "$@" >> "$results" 2>/dev/null || { echo "$label: a run failed"; return; }
  done
  field() { grep -o "$1=[0-9]*" "$results" | cut -d= -f2 | median; }
  awk -v label="$label" -v bytes="$(stat -c %s "$work/long.lrc")" -v w="$(field window_ms)" \
      -v r="$(field ready_ms)" -v s="$(field longest_stall_ms)" -v kb="$(field peak_rss_kb)" 'BEGIN {
    printf "%-15s window %6d ms  ready %6d ms  longest stall %6d ms  peak RSS %7.1f MB = %5.2f x file\n",
           label, w, r, s, kb * 1024 / 1e6, kb * 1024 / bytes }'
}

echo "median of $runs runs, file of one ${size_mb} MB line"
for kind in ascii cjk; do
  make_lyrics "$kind"
  probe "Player, $kind" -o 3000 -- "$build/bin/lyrova" "$work/long.ogg"
  probe "Editor, $kind" -t long.lrc -o 3000 -- "$build/bin/Versel" "$work/long.lrc"
done
