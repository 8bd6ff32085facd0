#!/bin/bash
# Times the Scanner's engine on a warm synthetic tree against its two peers, in one run:
#   scan-bench TREE                      (DirScan with the Scanner's own handlers)
#   walk-c TREE                          (a bare C walker: readdir with d_type, no stat)
#   find TREE -name '*.lrc' -printf '%h\n' | sort -u
# and the longest wait of window events while the Scanner window scans the same tree.
#
#   bench/scanner/run_scan_bench.sh [BUILD_DIR] [TREE] [RUNS]
#
# The tree (about 200,000 entries, 20,000 folders, 4,900 of them holding lyrics, some
# ".cache" folders) is made once under /tmp. Each figure is the median of RUNS runs (default
# 7), the three commands taking turns so they see the same cache and machine load.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build-scanner}
tree=${2:-/tmp/lyrova-scan-tree}
runs=${3:-7}
build=$(cd "$build" && pwd)

cmake --build "$build" --target scan-bench scan-window-gap >/dev/null
walker=$build/bench-walk-c
cc -O2 -o "$walker" "$here/cwalk.c"
if [ ! -f "$tree/.made" ]; then
  rm -rf "$tree"
  python3 "$here/maketree.py" "$tree"
  touch "$tree/.made"
fi

# The same folders from the scan and from the C walker; find sees the dot folders too.
scan_out=$("$build/bin/scan-bench" "$tree" 2>/dev/null | sort)
walk_out=$("$walker" "$tree" | sort)
if [ "$scan_out" != "$walk_out" ]; then
  echo "scan-bench and walk-c found different folders" >&2
  exit 1
fi
echo "folders with lyrics: $(echo "$scan_out" | wc -l)"

# One run of a command line: "wall cpu" in microseconds (cpu = user + system).
timed() {
  /usr/bin/time -o "$build/bench-time" -f '%e %U %S' sh -c "$1" >/dev/null 2>&1
  awk -v t="$(tail -1 "$build/bench-time")" 'BEGIN {split(t, v, " "); printf "%d %d\n", v[1] * 1e6, (v[2] + v[3]) * 1e6}'
}
declare -a w_scan w_walk w_find c_scan c_walk c_find
for ((i = 0; i < runs + 1; i++)); do
  read -r ws cs < <(timed "'$build/bin/scan-bench' '$tree'")
  read -r ww cw < <(timed "'$walker' '$tree'")
  read -r wf cf < <(timed "find '$tree' -name '*.lrc' -printf '%h\\n' | sort -u")
  # The first round only warms the cache.
  if ((i > 0)); then
    w_scan+=("$ws"); w_walk+=("$ww"); w_find+=("$wf")
    c_scan+=("$cs"); c_walk+=("$cw"); c_find+=("$cf")
  fi
done
median() { printf '%s\n' "$@" | sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
report() {
  local what=$1 s=$2 w=$3 f=$4
  awk -v what="$what" -v s="$s" -v w="$w" -v f="$f" 'BEGIN {
    printf "%s: scan-bench %.0f ms, walk-c %.0f ms, find | sort -u %.0f ms\n", what, s / 1000, w / 1000, f / 1000
    printf "  scan-bench / walk-c = %.2f (target at most 1.15), scan-bench / find = %.2f (target at most 0.50)\n", s / w, s / f }'
}
report "wall time, median of $runs" "$(median "${w_scan[@]}")" "$(median "${w_walk[@]}")" "$(median "${w_find[@]}")"
report "CPU time (user + system), median of $runs" "$(median "${c_scan[@]}")" "$(median "${c_walk[@]}")" "$(median "${c_find[@]}")"
uptime

"$build/bin/scan-bench" "$tree" --ini "$build/bench-LrcDir.ini" 2>&1 >/dev/null
echo "list file size: $(stat -c %s "$build/bench-LrcDir.ini") bytes"
for ((i = 0; i < 3; i++)); do "$build/bin/scan-window-gap" "$tree" 2>/dev/null; done
