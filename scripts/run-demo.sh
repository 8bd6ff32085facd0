#!/usr/bin/env bash
# Plays the bundled demo song in the Player. Without a display the Player runs on the offscreen
# platform and prints each lyric line the moment it becomes current, and ends with the song.
set -euo pipefail
bin=${1:?usage: run-demo.sh BUILD_BIN_DIR}
top=$(cd "$(dirname "$0")/.." && pwd)
song=$top/demo/demo.ogg

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$bin/lyrova" "$song"
fi
echo "No display: the demo lyrics follow in time with the song (about a minute)."
# Nobody could answer the first-start question about search directories here.
[ -e "$bin/LrcDir.ini" ] || : > "$bin/LrcDir.ini"
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
QT_QPA_PLATFORM=offscreen exec "$bin/lyrova" --echo --quit-at-end "$song"
