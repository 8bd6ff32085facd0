#!/usr/bin/env python3
"""Timed lines the Player shows for each file of the real-world corpus, against what a user expects.

Usage: corpus_timed_lines.py BUILD_BIN [CORPUS_DIR]
  BUILD_BIN   folder holding lrctool (for example build/bin)
  CORPUS_DIR  defaults to tests/lyrics/corpus; its expected.tsv comes from corpus_expectations.py

For every file it runs "lrctool dump --player FILE" and counts the lines, leaving out the empty
line the Player puts at 0 ms in front of a later first lyric: that line is not in the file. It is
recognised through the Editor's reading of the same file ("lrctool dump FILE"): the Player adds it
exactly when no timed line of the Editor lies at or before 0 ms. An "offset" column compares the
offset the reader applied with the one expected. Prints one row per file and the totals.
"""
import json
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from corpus_expectations import player_times  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS_DEFAULT = os.path.join(HERE, "..", "..", "tests", "lyrics", "corpus")


def dump(lrctool, path, player):
    args = [lrctool, "dump"] + (["--player"] if player else []) + [path]
    run = subprocess.run(args, capture_output=True, timeout=60)
    if run.returncode != 0:
        raise RuntimeError("%s failed (%d): %s" % (" ".join(args), run.returncode,
                                                   run.stderr.decode(errors="replace")))
    return json.loads(run.stdout.decode("utf-8"))


def on_time(expected, shown, tolerance_ms=10):
    """How many of the expected times (ascending) a shown time (ascending) meets within the
    tolerance, each shown time meeting at most one."""
    met = i = j = 0
    while i < len(expected) and j < len(shown):
        if abs(expected[i] - shown[j]) <= tolerance_ms:
            met += 1
            i += 1
            j += 1
        elif shown[j] < expected[i]:
            j += 1
        else:
            i += 1
    return met


def shown_timed_lines(lrctool, path):
    """(times of the timed lines the Player shows, ascending; offset it applied)."""
    player = dump(lrctool, path, True)
    editor = dump(lrctool, path, False)
    lines = player["lines"]
    shown = len(lines)
    editor_timed = [l for l in editor["lines"] if l.get("timed")]
    added_blank = (shown > 0 and lines[0]["time"] == 0 and lines[0]["text"] == ""
                   and not any(l["time"] <= 0 for l in editor_timed))
    times = sorted(l["time"] for l in (lines[1:] if added_blank else lines))
    return times, player["offset"]


def main(argv):
    if not argv:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    lrctool = os.path.join(argv[0], "lrctool")
    corpus = argv[1] if len(argv) > 1 else CORPUS_DEFAULT
    with open(os.path.join(corpus, "expected.tsv"), encoding="utf-8") as f:
        header, *rows = [line.rstrip("\n").split("\t") for line in f if line.strip()]
    col = {name: i for i, name in enumerate(header)}
    total_expected = total_shown = total_on_time = offsets_wrong = more_than_expected = 0
    print("%-38s %-12s %8s %6s %7s %6s  %s" % ("file", "encoding", "expected", "shown", "on time",
                                              "%", "offset"))
    for row in rows:
        name = row[col["file"]]
        expected = int(row[col["timed_lines"]])
        expected_offset = int(row[col["offset"]])
        path = os.path.join(corpus, name)
        times, offset = shown_timed_lines(lrctool, path)
        with open(path, "rb") as f:
            met = on_time(player_times(f.read()), times)
        shown = len(times)
        total_expected += expected
        total_on_time += met
        total_shown += shown
        more_than_expected += shown > expected
        percent = "%5.0f" % (100.0 * shown / expected) if expected else "    -"
        offset_note = "ok" if offset == expected_offset else "%d, expected %d" % (
            offset, expected_offset)
        offsets_wrong += offset != expected_offset
        print("%-38s %-12s %8d %6d %7d %6s  %s" % (name, row[col["encoding"]], expected, shown,
                                                   met, percent, offset_note))
    print("total: %d timed lines shown of %d expected (%.1f %%), %d of them on time (%.1f %%);"
          " %d files with a wrong offset; %d files with more lines than expected"
          % (total_shown, total_expected, 100.0 * total_shown / max(total_expected, 1),
             total_on_time, 100.0 * total_on_time / max(total_expected, 1), offsets_wrong,
             more_than_expected))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
