#!/usr/bin/env bash
# CPU of the Player while it sings word-timed lines, against mpv alone: a 60 s song whose lines
# (2 s apart, with a translation each) are timed word by word every 250 ms, so a word is being
# sung all the time, run through cpu_vs_mpv.sh. Target: at most 1.3 times mpv.
#   bench/player/singing_cpu.sh BUILD_BIN_DIR [ROUNDS]
set -euo pipefail
bin=${1:?usage: singing_cpu.sh BUILD_BIN_DIR [ROUNDS]}
command -v sox >/dev/null || { echo "sox is missing (package sox)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sox -n -r 44100 -c 1 "$work/sing.ogg" synth 60 sine 440 vol 0.05
python3 - "$work/sing.lrc" <<'PY'
import sys
stamp = lambda ms: "%02d:%02d.%02d" % (ms // 60000, ms // 1000 % 60, ms // 10 % 100)
with open(sys.argv[1], "w", encoding="utf-8", newline="\r\n") as f:
    for i in range(30):
        start = i * 2000
        words = "".join("<%s>字%d " % (stamp(start + n * 250), n) for n in range(8))
        f.write("[%s]%s<%s>\n[%s]translation %d\n" % (stamp(start), words, stamp(start + 2000), stamp(start), i))
PY
"$(dirname "$0")/cpu_vs_mpv.sh" "$bin" "$work/sing.ogg" "${2:-3}"
