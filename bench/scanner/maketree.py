#!/usr/bin/env python3
"""Makes the synthetic tree of the Scanner benchmarks: 20,000 folders (20 x 10 x 100), about
200,000 entries; every fourth leaf folder holds lyrics, and one top folder in five has a
".cache" folder with lyrics in it that the scan must not enter."""
import os
import sys

root = sys.argv[1]
os.makedirs(root, exist_ok=True)
dirs = 0
lyric_dirs = 0
entries = 0
for a in range(20):
    top = os.path.join(root, f"artist{a:02d}")
    os.makedirs(top, exist_ok=True)
    dirs += 1
    for b in range(10):
        album = os.path.join(top, f"album{b}")
        os.makedirs(album, exist_ok=True)
        dirs += 1
        for c in range(98):
            leaf = os.path.join(album, f"disc{c:02d}")
            os.mkdir(leaf)
            dirs += 1
            names = [f"track{t}.mp3" for t in range(9)]
            if (c + b) % 4 == 0:
                names = [f"track{t}.mp3" for t in range(6)] + [f"track{t}.lrc" for t in range(3)]
                lyric_dirs += 1
            for name in names:
                open(os.path.join(leaf, name), "w").close()
            entries += len(names) + 1
    if a % 5 == 0:
        hidden = os.path.join(top, ".cache")
        os.mkdir(hidden)
        for t in range(20):
            open(os.path.join(hidden, f"old{t}.lrc"), "w").close()
        entries += 21
print(f"{dirs} folders, {lyric_dirs} with lyrics, {entries + dirs} entries", file=sys.stderr)
