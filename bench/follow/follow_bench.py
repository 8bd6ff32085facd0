#!/usr/bin/env python3
"""Follow mode against a real mpv: line timing against mpv's own position, the line after a
seek, the D-Bus calls the Player makes while mpv plays, and the Player's CPU against mpv's.
Each run plays the lyrics of tests/programs/follow_mpv.py once, on a session bus of its own.

  dbus-run-session -- bench/follow/follow_bench.py build/bin/lyrova [--runs 3]

The song is what people play: four minutes of the demo song's music as a stereo 44.1 kHz Ogg
Vorbis file. Its length sets how fast the progress bar moves (each pixel is a redraw of the
Player), and its format what mpv's own decoding costs. --song sine plays the end-to-end test's
24-second WAV instead, whose bar moves ten times as fast while mpv decodes nothing.

The line timing is judged against audio-pts, the position of what mpv's output plays, which
keeps to the clock within a millisecond. It is also given against time-pos (what MPRIS
reports), which in a song without video moves in steps of mpv's audio buffer: with the null
output of a machine without sound it falls behind up to some 50 ms and then jumps ahead, and
with a sound server (PulseAudio's null sink, measured once by hand) it wanders +-40 ms around
the clock. A display cannot keep to that readout closer than its steps; it follows what is heard.

Each printed line is stamped by a thread of its own as it comes, and mpv's positions are run
back from their answers to that moment (mpv may take tens of milliseconds to answer). CPU is
counted per thread in nanoseconds (/proc/PID/task/*/schedstat) from mpv's start to the last
line; the Player's start-up before is given apart.

Targets: spread of (print time - line time) at most 30 ms, none more than 5 ms early; after a
seek the right line within 300 ms; at most one call a second; Player CPU at most 0.3 x mpv's."""
import argparse, os, subprocess, sys, tempfile, time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "programs"))
import follow_mpv  # noqa: E402

DEMO_SONG = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "demo", "demo.ogg")


def typical_song(work):
    song = os.path.join(work, "song.ogg")
    subprocess.run(["sox", DEMO_SONG, DEMO_SONG, DEMO_SONG, DEMO_SONG, "-r", "44100", "-c", "2", song],
                   check=True)
    return song


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("player")
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--song", choices=("typical", "sine"), default="typical")
    args = parser.parse_args()
    make_song = typical_song if args.song == "typical" else follow_mpv.sine_song
    errors, heard_errors, seeks, ratios, rates = [], [], [], [], []
    for run in range(args.runs):
        with tempfile.TemporaryDirectory() as work:
            monitor = {}

            def start_monitor(_pid):
                monitor["proc"] = subprocess.Popen(
                    ["dbus-monitor", "--session", "type='method_call',destination='org.mpris.MediaPlayer2.mpv'"],
                    stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
                monitor["start"] = time.monotonic()

            printed, seek, cpu, _ = follow_mpv.run_once(args.player, work, on_ready=start_monitor,
                                                            make_song=make_song)
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
    for name, found in (("audio-pts (judged)", heard_errors), ("time-pos", errors)):
        print("line timing against %s: %d lines, error (print - line time, + late) min %+.1f ms, max %+.1f ms, "
              "spread %.1f ms (target <= 30), earliest %.1f ms early (target <= 5)"
              % (name, len(found), min(found), max(found), max(found) - min(found), max(0.0, -min(found))))
    print("seek: right line after %s ms (target <= 300)" % ", ".join("%.0f" % s for s in seeks))
    print("D-Bus calls to the followed player while playing: %s per second (target <= 1)"
          % ", ".join("%.2f" % r for r in rates))
    print("CPU, Player / mpv: %s (target <= 0.3)" % ", ".join("%.2f" % r for r in ratios))


if __name__ == "__main__":
    main()
