#!/usr/bin/env python3
"""Times the arrival of each lyric line the Player prints with --echo against the line times.

Makes a silent song of 40 s with 80 lines at irregular known times, runs
`lyrova --echo --quit-at-end` on it (offscreen unless a display is wanted), stamps every printed
line with the moment the Player wrote it and compares each line's delay after the first line with its
intended time after the first line. The song's start on this clock is then taken from all the
lines (their median delay), not from the first line alone, whose own arrival may be a
millisecond off and would show every other line that much early or late. Prints the figures; the
target is: no line early, 99 % of the lines at most 12 ms late.

With --words every line is word-timed (three to eight words at irregular times within it) and
the Player runs with --echo-words; each word printed is timed against its tag like the lines.
The target for words: none early, all within 2 ms of one another (the spread of their delays).

The Player's output goes into a Unix packet socket, and the kernel stamps each write as it is
sent (SO_TIMESTAMPNS): this bench's own reader shares the machine's cores with the Player, and
a reader woken late would otherwise count as a late line. The reader's own arrival figures are
printed too, for comparison.

usage: line_timing.py BUILD_BIN_DIR [--xvfb] [--words] [--verbose]
"""
import os
import random
import socket
import struct
import subprocess
import sys
import tempfile
import time

SO_TIMESTAMPNS = getattr(socket, "SO_TIMESTAMPNS", 35)  # Linux's number; Python names it only lately


def main():
    bindir = sys.argv[1]
    use_xvfb = "--xvfb" in sys.argv
    use_words = "--words" in sys.argv
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
        word_times = {}  # "w<line>.<n>" -> ms
        stamp = lambda ms: "%02d:%02d.%02d" % (ms // 60000, ms // 1000 % 60, ms // 10 % 100)
        with open(os.path.join(tmp, "timing.lrc"), "w", encoding="ascii", newline="\r\n") as f:
            for i, ms in enumerate(times):
                text = "line %d" % i
                if use_words:
                    end = times[i + 1] if i + 1 < len(times) else ms + 500
                    count = rng.randrange(3, 9)
                    starts = sorted({ms} | {rng.randrange(ms, end, 10) for _ in range(count - 1)})
                    for n, w in enumerate(starts):
                        word_times["w%d.%d" % (i, n)] = w
                    text += " " + "".join("<%s>w%d.%d " % (stamp(w), i, n) for n, w in enumerate(starts))
                f.write("[%s]%s\n" % (stamp(ms), text))
        open(os.path.join(bindir, "LrcDir.ini"), "a").close()
        env = dict(os.environ)
        cmd = [os.path.join(bindir, "lyrova"), "--echo-words" if use_words else "--echo", "--quit-at-end", song]
        if use_xvfb:
            cmd = ["xvfb-run", "-a"] + cmd
            env.pop("QT_QPA_PLATFORM", None)
        else:
            env["QT_QPA_PLATFORM"] = "offscreen"
        ours, theirs = socket.socketpair(socket.AF_UNIX, socket.SOCK_SEQPACKET)
        ours.setsockopt(socket.SOL_SOCKET, SO_TIMESTAMPNS, 1)
        proc = subprocess.Popen(cmd, stdout=theirs, stderr=subprocess.DEVNULL, env=env)
        theirs.close()
        # The kernel's stamps are on the wall clock; the bench keeps to the monotonic one, so the
        # offset between the two is taken before and after and run between them (against a slew).
        before = (time.monotonic(), time.time())
        sent = {}
        arrivals = {}
        while True:
            data, ancillary, _, _ = ours.recvmsg(65536, 256)
            now = time.monotonic()
            if not data:
                break
            wall = None
            for level, kind, value in ancillary:
                if level == socket.SOL_SOCKET and kind == SO_TIMESTAMPNS:
                    seconds, nanoseconds = struct.unpack("qq", value[:16])
                    wall = seconds + nanoseconds / 1e9
            for raw in data.split(b"\n"):
                text = raw.decode("utf-8").strip()
                if text.startswith("line "):
                    text = " ".join(text.split()[:2])  # a word-timed line goes on with its words
                if (text.startswith("line ") or text.startswith("w")) and text not in arrivals:
                    arrivals[text] = now
                    sent[text] = wall
        proc.wait()
        after = (time.monotonic(), time.time())
        if any(wall is None for wall in sent.values()):
            print("the kernel gave no send stamps; timing by the reader's arrival")
        else:
            start, end = before[1] - before[0], after[1] - after[0]
            span = max(after[1] - before[1], 1e-9)
            offset = lambda wall: start + (end - start) * (wall - before[1]) / span
            print("by the reader's arrival:")
            report(times, word_times, arrivals, use_words, verbose=False)
            print("by the moment of each write (the figures that count):")
            arrivals = {name: wall - offset(wall) for name, wall in sent.items()}
    return report(times, word_times, arrivals, use_words, "--verbose" in sys.argv)


def report(times, word_times, arrivals, use_words, verbose):
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
    zero = sorted(lateness)[len(lateness) // 2]
    print("the lines' median arrives %+.1f ms after the first line's: the reference" % zero)
    lateness = [x - zero for x in lateness]
    if verbose:
        print("per line (ms):", " ".join("%+.0f" % x for x in lateness))
    lateness.sort()
    early = [x for x in lateness if x < -1.0]  # 1 ms for the clock's own jitter
    p99 = lateness[int(len(lateness) * 0.99) - 1]
    print("lines: %d, earliest %+.1f ms, median %+.1f ms, 99th percentile %+.1f ms, latest %+.1f ms"
          % (len(lateness), lateness[0], lateness[len(lateness) // 2], p99, lateness[-1]))
    print("early lines: %d; target: none early, 99 %% <= 12 ms late -> %s"
          % (len(early), "ok" if not early and p99 <= 12 else "MISSED"))
    if not use_words:
        return 0
    words = []
    for name, ms in word_times.items():
        got = arrivals.get(name)
        if got is None:
            print("word %s never arrived" % name)
            return 1
        words.append((got - first) * 1000 - (ms - times[0]) - zero)
    if verbose:
        late = sorted(((got - first) * 1000 - (ms - times[0]) - zero, ms % 40, name)
                      for name, ms in word_times.items() for got in [arrivals[name]])
        print("latest words (ms late, ms after a strip frame, word):",
              " ".join("%+.1f/%d/%s" % x for x in late[-12:]))
    words.sort()
    early = [x for x in words if x < -1.0]
    spread = words[-1] - words[0]
    inner = words[int(len(words) * 0.99) - 1] - words[len(words) // 100]
    print("words: %d, earliest %+.1f ms, median %+.1f ms, latest %+.1f ms, spread %.1f ms (98 %% within %.1f ms)"
          % (len(words), words[0], words[len(words) // 2], words[-1], spread, inner))
    print("early words: %d; target: none early, spread <= 2 ms -> %s"
          % (len(early), "ok" if not early and spread <= 2 else "MISSED"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
