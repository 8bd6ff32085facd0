#!/usr/bin/env python3
"""Prints the lyrics-loading figures beside the npm parsers' and checks them against the targets."""
import json
import sys

TARGETS_MS = {"typical": 0.020, "big": 40.0, "multi": 25.0}  # per load, milliseconds


def ours(path):
    data = json.load(open(path))
    out = {}
    for b in data["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        # Names look like "LoadLrc/editor/big.gbk_median".
        _, mode, corpus = b["run_name"].split("/")
        unit = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
        out[(mode, corpus)] = b["real_time"] * unit
    return out


def main():
    mine = ours(sys.argv[1])
    npm = json.load(open(sys.argv[2]))
    print("%-8s %-8s %-7s %12s %12s %12s %12s %8s" % (
        "corpus", "mode", "bytes", "ours ms", "paroles ms", "lrc-kit ms", "target ms", "x faster"))
    for corpus in ("typical", "big", "multi"):
        theirs = {k: v / 1e6 for k, v in npm[corpus].items()}
        fastest = min(theirs.values())
        for mode in ("editor", "player"):
            for enc in ("utf8", "gbk"):
                ms = mine.get((mode, f"{corpus}.{enc}"))
                if ms is None:
                    continue
                verdict = "ok" if ms <= TARGETS_MS[corpus] else "MISSED"
                ratio = fastest / ms
                print("%-8s %-8s %-7s %12.4f %12.4f %12.4f %12.3f %8.1f  %s" % (
                    corpus, mode, enc, ms, theirs["paroles"], theirs["lrc-kit"],
                    TARGETS_MS[corpus], ratio, verdict))
    print("(npm parsers read and parse the UTF-8 file; 'x faster' is against the faster of the two;"
          " the big file must also be at least 10x faster)")


if __name__ == "__main__":
    main()
