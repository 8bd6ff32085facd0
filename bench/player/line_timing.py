#!/usr/bin/env python3
"""Times the arrival of each lyric line the Player prints with --echo against the line times.

Makes a silent song of 40 s with 80 lines at irregular known times, runs
`lyrova --echo --quit-at-end` on it (offscreen unless a display is wanted), stamps every printed
line with a monotonic clock and compares each line's delay after the first line with its
intended time after the first line. Prints the figures; the target is: no line early, 99 % of the
lines at most 12 ms late.

usage: line_timing.py BUILD_BIN_DIR [--xvfb] [--verbose]
"""
import os
import random
import subprocess
import sys
import tempfile
import time


def main():
    bindir = sys.argv[1]
    use_xvfb = "--xvfb" in sys.argv
    rng = random.Random(7)
    with tempfile.TemporaryDirectory() as tmp:
        song = os.path.join(tmp, "timing.ogg")
        subprocess.run(["sox", "-n", "-r", "44100", "-c", "1", song, "synth", "40", "sine", "440",
                        "vol", "0.05"], check=True)
        times = []
        t = 500
        for _ in range(80):
            times.append(t)
            t += rng.randrange(200, 800, 10)
        times = [x for x in times if x < 39_000]
        with open(os.path.join(tmp, "timing.lrc"), "w", encoding="ascii", newline="\r\n") as f:
            for i, ms in enumerate(times):
                cs = ms // 10
                f.write("[%02d:%02d.%02d]line %d\n" % (cs // 6000, cs // 100 % 60, cs % 100, i))
        open(os.path.join(bindir, "LrcDir.ini"), "a").close()
        env = dict(os.environ)
        cmd = [os.path.join(bindir, "lyrova"), "--echo", "--quit-at-end", song]
        if use_xvfb:
            cmd = ["xvfb-run", "-a"] + cmd
            env.pop("QT_QPA_PLATFORM", None)
        else:
            env["QT_QPA_PLATFORM"] = "offscreen"
        proc = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env)
        arrivals = {}
        for raw in proc.stdout:
            now = time.monotonic()
            text = raw.decode("utf-8").rstrip("\n")
            if text.startswith("line ") and text not in arrivals:
                arrivals[text] = now
        proc.wait()
    first = arrivals.get("line 0")
    if first is None:
        print("no lines arrived")
        return 1
    lateness = []
    for i, ms in enumerate(times):
        got = arrivals.get("line %d" % i)
        if got is None:
            print("line %d never arrived" % i)
            return 1
        lateness.append((got - first) * 1000 - (ms - times[0]))
    if "--verbose" in sys.argv:
        print("per line (ms):", " ".join("%+.0f" % x for x in lateness))
    lateness.sort()
    early = [x for x in lateness if x < -1.0]  # 1 ms for the clock's own jitter
    p99 = lateness[int(len(lateness) * 0.99) - 1]
    print("lines: %d, earliest %+.1f ms, median %+.1f ms, 99th percentile %+.1f ms, latest %+.1f ms"
          % (len(lateness), lateness[0], lateness[len(lateness) // 2], p99, lateness[-1]))
    print("early lines: %d; target: none early, 99 %% <= 12 ms late -> %s"
          % (len(early), "ok" if not early and p99 <= 12 else "MISSED"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
