#!/usr/bin/env bash
# Runs the suite on the bundled demo: for now the demo lyrics as the Player reads them.
set -euo pipefail
bin=${1:?usage: run-demo.sh BUILD_BIN_DIR}
top=$(cd "$(dirname "$0")/.." && pwd)
exec "$bin/lrctool" dump --player "$top/demo/demo.lrc"
