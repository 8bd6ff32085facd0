#!/usr/bin/env bash
# Runs the benchmarks by hand (never in CI): lyrics loading against two npm LRC parsers, and the
# media device. Prints each figure, the targets and the ratios.
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

if [ -x "$build/bin/bench_media" ]; then
  echo
  "$build/bin/bench_media" --benchmark_min_time=0.5
fi
