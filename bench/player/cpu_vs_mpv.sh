#!/usr/bin/env bash
# CPU time of the Player playing a song for 30 s with its lyrics, offscreen and under Xvfb,
# against mpv alone (--no-video --ao=null) on the same file in the same run. Target: the Player
# uses at most 1.3 times what mpv uses.
#   bench/player/cpu_vs_mpv.sh BUILD_BIN_DIR [SONG] [ROUNDS]
# Each round runs every program once, one after the other, so a busy moment of the machine falls
# on all of them; the medians of the rounds are compared. The Player's own CPU time is compared;
# the X server's share while it shows the Player is printed beside it. The floor is a minimal Qt
# program whose only work is a 10 ms timer like the Player's tick.
set -euo pipefail
bin=$(cd "${1:?usage: cpu_vs_mpv.sh BUILD_BIN_DIR [SONG] [ROUNDS]}" && pwd)
song=${2:-$(cd "$(dirname "$0")/../.." && pwd)/demo/demo.ogg}
rounds=${3:-3}
seconds=30
command -v mpv >/dev/null || { echo "installing mpv for the comparison"; apt-get install -y -qq mpv >/dev/null; }
. "$(dirname "$0")/xvfb.sh"
[ -e "$bin/LrcDir.ini" ] || : > "$bin/LrcDir.ini"
start_xvfb 1280x800x24

# CPU seconds (user + system) a command and its children use in $seconds.
cpu_of() {
  local report
  report=$(mktemp)
  /usr/bin/time -o "$report" -f '%U %S' timeout -s INT "$seconds" "$@" >/dev/null 2>&1 || true
  tail -n 1 "$report" | awk '{ printf "%.3f", $1 + $2 }'
  rm -f "$report"
}
xvfb_cpu() { awk -v hz="$(getconf CLK_TCK)" '{ printf "%.3f", ($14 + $15) / hz }' "/proc/$xvfb/stat"; }

declare -a mpv off xcb xserver floor
for round in $(seq "$rounds"); do
  mpv+=("$(cpu_of mpv --no-config --no-video --ao=null --really-quiet "$song")")
  off+=("$(QT_QPA_PLATFORM=offscreen cpu_of "$bin/lyrova" "$song")")
  before=$(xvfb_cpu)
  xcb+=("$(DISPLAY=$display QT_QPA_PLATFORM=xcb cpu_of "$bin/lyrova" "$song")")
  xserver+=("$(awk -v a="$before" -v b="$(xvfb_cpu)" 'BEGIN { printf "%.3f", b - a }')")
  floor+=("$(DISPLAY=$display QT_QPA_PLATFORM=xcb cpu_of "$bin/bench_minimal_label" --tick)")
  echo "round $round: mpv ${mpv[-1]} s, Player offscreen ${off[-1]} s, Player under Xvfb ${xcb[-1]} s" \
       "(+ X server ${xserver[-1]} s), empty 10 ms timer under Xvfb ${floor[-1]} s"
done
m=$(printf '%s\n' "${mpv[@]}" | median)
o=$(printf '%s\n' "${off[@]}" | median)
x=$(printf '%s\n' "${xcb[@]}" | median)
s=$(printf '%s\n' "${xserver[@]}" | median)
f=$(printf '%s\n' "${floor[@]}" | median)
echo "medians over ${seconds}s: mpv alone $m, Player offscreen $o, Player under Xvfb $x (X server $s), empty 10 ms timer $f"
awk -v m="$m" -v o="$o" -v x="$x" -v s="$s" -v f="$f" 'BEGIN {
  printf "ratio offscreen %.2f, under Xvfb %.2f (with the X server %.2f), empty timer %.2f (target <= 1.30)\n",
         o / m, x / m, (x + s) / m, f / m }'
