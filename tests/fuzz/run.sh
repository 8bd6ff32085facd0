#!/usr/bin/env bash
# Runs every fuzz target for the given number of seconds, each with its own corpus folder
# (kept in the build tree between runs) seeded from the test fixtures.
set -euo pipefail
build=${1:?usage: run.sh BUILD_DIR [SECONDS]}
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
status=0
for target in "$build"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus=$build/fuzz-corpus/$name
  mkdir -p "$corpus"
  seeds=()
  for d in "$here/../lyrics/data" "$here/../lyrics/corpus" "$here/../../demo"; do [ -d "$d" ] && seeds+=("$d"); done
  echo "== $name for ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$build/$name-" "$corpus" "${seeds[@]}" 2>"$build/$name.log"; then
    status=1
    echo "$name FAILED, see $build/$name.log"
  fi
  grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb|^#[0-9]+.*DONE' "$build/$name.log" || true
done
exit $status
