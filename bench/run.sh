#!/usr/bin/env bash
# Runs the benchmarks by hand (never in CI), one folder of bench/ after the other: lyrics loading
# against two npm LRC parsers, the media device, the Editor, the chat bridge, the Player, the
# Scanner, the lyrics lookup on large search lists and the very long line. Prints each figure,
# the targets and the ratios. A folder whose program was not built (configure with
# -DLYROVA_BENCH=ON) or whose tool is missing is named and left out.
set -euo pipefail
build=$(cd "${1:?usage: bench/run.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
corpora=$build/bench-corpora
npmdir=$build/bench-npm

python3 "$here/lyrics/make_corpora.py" "$corpora"

if [ ! -d "$npmdir/node_modules/paroles" ] || [ ! -d "$npmdir/node_modules/lrc-kit" ]; then
  mkdir -p "$npmdir"
  [ -f "$npmdir/package.json" ] || echo '{"private": true}' > "$npmdir/package.json"
  npm install --prefix "$npmdir" --no-audit --no-fund --silent paroles@2.3.0 lrc-kit@1.2.1
fi

LYROVA_CORPUS_DIR=$corpora "$build/bin/bench_lrcload" --benchmark_format=json \
  --benchmark_min_time=0.5 --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  > "$build/bench-lrcload.json"
NODE_PATH=$npmdir/node_modules node "$here/lyrics/npm_parsers.js" "$corpora" > "$build/bench-npm.json"
python3 "$here/lyrics/report.py" "$build/bench-lrcload.json" "$build/bench-npm.json"

skip() { echo; echo "bench/$1 left out: $2"; }
has() { command -v "$1" > /dev/null; }

echo
if [ -x "$build/bin/bench_media" ]; then
  "$build/bin/bench_media" --benchmark_min_time=0.5
else
  skip media "bench_media is not built"
fi

echo
if [ -x "$build/bin/bench_editor" ]; then
  QT_QPA_PLATFORM=offscreen "$build/bin/bench_editor" --benchmark_min_time=0.5
else
  skip editor "bench_editor is not built"
fi

echo
if [ -x "$build/bench/bench_chatbridge" ] && has wine; then
  "$build/bench/bench_chatbridge" --benchmark_min_time=0.5
else
  skip chatbridge "bench_chatbridge is not built (it needs the cross-built bridge) or wine is missing"
fi

echo
if [ -x "$build/bin/lyrova" ] && has Xvfb && has xdotool && has mpv; then
  "$here/player/first_paint.sh" "$build"
  "$here/player/cpu_vs_mpv.sh" "$build/bin"
  "$here/player/singing_cpu.sh" "$build/bin"
  python3 "$here/player/line_timing.py" "$build/bin"
  python3 "$here/player/line_timing.py" "$build/bin" --words
else
  skip player "the Player is not built, or Xvfb, xdotool or mpv is missing"
fi

echo
if [ -x "$build/bin/scan-bench" ]; then
  "$here/scanner/run_scan_bench.sh" "$build"
else
  skip scanner "scan-bench is not built"
fi

echo
if [ -x "$build/bin/bench_lookup" ]; then
  # 50,000 folders of 20 files are a million files under /tmp, made and removed in the run.
  "$build/bin/bench_lookup" --base "${TMPDIR:-/tmp}"
else
  skip lookup "bench_lookup is not built"
fi

echo
if [ -x "$build/bin/lyrova" ] && [ -x "$build/bin/Versel" ] && has Xvfb; then
  "$here/longline/long_line.sh" "$build"
else
  skip longline "the Player or the Editor is not built, or Xvfb is missing"
fi
