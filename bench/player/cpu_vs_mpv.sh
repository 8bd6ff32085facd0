#!/usr/bin/env bash
# CPU time of the Player playing a song for 30 s with its lyrics, offscreen and under Xvfb,
# against mpv alone (--no-video --ao=null) on the same file in the same run. Target: the Player
# uses at most 1.3 times what mpv uses.
#   bench/player/cpu_vs_mpv.sh BUILD_BIN_DIR [SONG]
set -euo pipefail
bin=$(cd "${1:?usage: cpu_vs_mpv.sh BUILD_BIN_DIR [SONG]}" && pwd)
song=${2:-$(cd "$(dirname "$0")/../.." && pwd)/demo/demo.ogg}
seconds=30
command -v mpv >/dev/null || { echo "installing mpv for the comparison"; apt-get install -y -qq mpv >/dev/null; }
command -v xvfb-run >/dev/null || { echo "xvfb-run is missing (package xvfb)"; exit 1; }
[ -e "$bin/LrcDir.ini" ] || : > "$bin/LrcDir.ini"

# Runs a command for $seconds and prints the CPU seconds (user + system) of it and its children.
cpu_of() {
  local report
  report=$(mktemp)
  /usr/bin/time -o "$report" -f '%U %S' timeout -s INT "$seconds" "$@" >/dev/null 2>&1 || true
  tail -n 1 "$report" | awk '{ printf "%.3f", $1 + $2 }'
  rm -f "$report"
}

mpv_cpu=$(cpu_of mpv --no-config --no-video --ao=null --really-quiet "$song")
off_cpu=$(QT_QPA_PLATFORM=offscreen cpu_of "$bin/lyrova" "$song")
xvfb_cpu=$(cpu_of xvfb-run -a env -u QT_QPA_PLATFORM "$bin/lyrova" "$song")
echo "CPU seconds over ${seconds}s: mpv alone $mpv_cpu, Player offscreen $off_cpu, Player under Xvfb $xvfb_cpu (Xvfb included)"
awk -v m="$mpv_cpu" -v o="$off_cpu" -v x="$xvfb_cpu" 'BEGIN {
  printf "ratio offscreen %.2f, under Xvfb %.2f (target <= 1.30)\n", o / m, x / m }'
