#!/usr/bin/env python3
"""Follow mode against a real mpv: line timing against mpv's own position, the line after a
seek, the D-Bus calls the Player makes while mpv plays, and the Player's CPU against mpv's.
Each run plays the song of tests/programs/follow_mpv.py once on a session bus of its own.

  dbus-run-session -- bench/follow/follow_bench.py build/bin/lyrova [--runs 3]

The line timing is given against both of mpv's positions: time-pos (what MPRIS reports) and
audio-pts (the position of what the output plays). With the null audio output of a machine
without sound, time-pos runs about 1 % slow for some seconds and then jumps ahead by some
40 ms, while audio-pts keeps to the clock; the Player follows what is played.

Each printed line is stamped by a thread of its own as it comes, and mpv's positions are run
back from their answers to that moment (mpv may take tens of milliseconds to answer). CPU is
counted per thread in nanoseconds (/proc/PID/task/*/schedstat) from mpv's start to the last
line; the Player's start-up before is given apart.

Targets: spread of (print time - line time) at most 30 ms, none more than 5 ms early; after a
seek the right line within 300 ms; at most one call a second; Player CPU at most 0.3 x mpv's."""
import argparse, os, subprocess, sys, tempfile, time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "programs"))
import follow_mpv  # noqa: E402


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("player")
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    errors, heard_errors, seeks, ratios, rates = [], [], [], [], []
    for run in range(args.runs):
        with tempfile.TemporaryDirectory() as work:
            monitor = {}

            def start_monitor(_pid):
                monitor["proc"] = subprocess.Popen(
                    ["dbus-monitor", "--session", "type='method_call',destination='org.mpris.MediaPlayer2.mpv'"],
                    stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
                monitor["start"] = time.monotonic()

            printed, seek, cpu, _ = follow_mpv.run_once(args.player, work, on_ready=start_monitor)
            seconds = time.monotonic() - monitor["start"]
            monitor["proc"].terminate()
            out = monitor["proc"].communicate()[0]
            calls = sum(1 for line in out.splitlines() if line.startswith("method call"))
            rates.append(calls / seconds)
            run_errors = [(pos - t) * 1000 for text, t, pos, _ in printed if text != "line g"]
            errors += run_errors
            heard_errors += [(heard - t) * 1000 for text, t, _, heard in printed if text != "line g"]
            seeks.append(seek[1] * 1000 if seek and seek[0] == "line g" else float("inf"))
            ratios.append(cpu["player"] / cpu["mpv"] if cpu["mpv"] else float("inf"))
            print("run %d: %d lines, error %+.1f..%+.1f ms, seek line after %.0f ms, %d calls in %.1f s, "
                  "CPU while playing: player %.2f s mpv %.2f s (player start-up before: %.2f s)"
                  % (run + 1, len(printed), min(run_errors), max(run_errors), seeks[-1], calls, seconds,
                     cpu["player"], cpu["mpv"], cpu["player start"]))
    for name, found in (("time-pos", errors), ("audio-pts", heard_errors)):
        print("line timing against %s: %d lines, error (print - line time, + late) min %+.1f ms, max %+.1f ms, "
              "spread %.1f ms (target <= 30), earliest %.1f ms early (target <= 5)"
              % (name, len(found), min(found), max(found), max(found) - min(found), max(0.0, -min(found))))
    print("seek: right line after %s ms (target <= 300)" % ", ".join("%.0f" % s for s in seeks))
    print("D-Bus calls to the followed player while playing: %s per second (target <= 1)"
          % ", ".join("%.2f" % r for r in rates))
    print("CPU, Player / mpv: %s (target <= 0.3)" % ", ".join("%.2f" % r for r in ratios))


if __name__ == "__main__":
    main()
