#!/usr/bin/env python3
"""The Player in follow mode against a real mpv with its MPRIS plugin, on the session bus the
caller gives (run it under dbus-run-session). mpv plays a song with its lyrics beside it; the
Player, headless with --follow --echo, prints every line as it becomes current; at each printed
line mpv's own time-pos is read over its JSON IPC and compared with the line's time. Midway mpv
is seeked, and the right line must follow at once.

  follow_mpv.py PLAYER [--runs N] [--report]

As a test (the default) it checks loose limits that hold on a loaded machine and exits 1 on a
fault. bench/follow uses the same run for the real figures (--report prints them as JSON)."""
import argparse, json, os, queue, shutil, socket, subprocess, sys, tempfile, threading, time

MPRIS_PLUGIN = "/usr/lib/mpv-mpris/mpris.so"
SONG_SECONDS = 24
# (time in s, text); the seek jumps from after LINE_BEFORE_SEEK to SEEK_TO.
LINES = [(1.0, "line a"), (2.5, "line b"), (4.0, "line c"), (5.2, "line d"), (6.5, "line e"),
         (8.0, "line f"), (15.0, "line g"), (16.5, "line h"), (18.0, "line i"), (19.3, "line j"),
         (21.0, "line k")]
LINE_BEFORE_SEEK = "line f"
SEEK_TO = 15.8  # inside "line g"


def lrc_time(seconds):
    return "%02d:%05.2f" % (int(seconds) // 60, seconds % 60)


class Mpv:
    def __init__(self, song, work, extra=()):
        self.sock_path = os.path.join(work, "mpv.sock")
        self.proc = subprocess.Popen(
            ["mpv", "--no-config", "--script=" + MPRIS_PLUGIN, "--no-video", "--ao=null", "--pause",
             "--input-ipc-server=" + self.sock_path, *extra, song],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(200):
            if os.path.exists(self.sock_path):
                break
            time.sleep(0.02)
        self.sock = socket.socket(socket.AF_UNIX)
        self.sock.connect(self.sock_path)
        self.buffer = b""
        self.next_id = 0

    def command(self, *args):
        self.next_id += 1
        self.sock.sendall(json.dumps({"command": list(args), "request_id": self.next_id}).encode() + b"\n")
        while True:
            while b"\n" not in self.buffer:
                self.buffer += self.sock.recv(65536)
            line, self.buffer = self.buffer.split(b"\n", 1)
            reply = json.loads(line)
            if reply.get("request_id") == self.next_id:
                return reply.get("data")

    def time_pos(self):
        return self.command("get_property", "time-pos")

    def position_at(self, prop, moment):
        """mpv's position `prop` at `moment` of the monotonic clock (a moment just past), run
        back from the answer's arrival: mpv may take tens of milliseconds to get to a request,
        then reads the value and answers at once."""
        value = self.command("get_property", prop)
        answered = time.monotonic()
        return None if value is None else value - (answered - moment)

    def stop(self):
        self.proc.terminate()
        self.proc.wait(10)


def sine_song(work):
    song = os.path.join(work, "song.wav")
    subprocess.run(["sox", "-n", "-r", "44100", "-c", "2", song, "synth", str(SONG_SECONDS), "sine", "440",
                    "vol", "0.1"], check=True)
    return song


def make_work(player, work, make_song=sine_song):
    shutil.copy(player, os.path.join(work, "lyrova"))
    open(os.path.join(work, "LrcDir.ini"), "w").close()
    song = make_song(work)
    with open(os.path.join(work, "song.lrc"), "w") as f:
        for t, text in LINES:
            f.write("[%s]%s\n" % (lrc_time(t), text))
    return song


def cpu_seconds(pid):
    # Per thread in nanoseconds (/proc/PID/stat counts in 10 ms ticks, too coarse for the Player).
    total = 0
    for task in os.listdir("/proc/%d/task" % pid):
        try:
            with open("/proc/%d/task/%s/schedstat" % (pid, task)) as f:
                total += int(f.read().split()[0])
        except OSError:
            pass  # the thread ended meanwhile
    return total / 1e9


def stamp_lines(stream, arrived):
    for raw in iter(stream.readline, b""):
        arrived.put((time.monotonic(), raw.rstrip(b"\n")))
    arrived.put((time.monotonic(), None))


def run_once(player, work, on_ready=None, make_song=sine_song):
    """One play of the song. Returns the printed lines as (text, line_time, mpv_pos_at_print,
    mpv_heard_at_print): time-pos, and audio-pts (the position of what the output plays),
    the seek's (wanted text, delay in s from the seek to its print), the Player process's CPU
    seconds and mpv's while mpv plays (and the Player's before, its start-up), and the Player's
    pid. make_song(work) makes the song file (at least SONG_SECONDS long) and gives its path."""
    song = make_work(player, work, make_song)
    mpv = Mpv(song, work)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_CONFIG_HOME=os.path.join(work, "config"),
               XDG_DATA_HOME=os.path.join(work, "data"), XDG_RUNTIME_DIR=work)
    lyrova = subprocess.Popen([os.path.join(work, "lyrova"), "--follow", "--echo"], stdout=subprocess.PIPE,
                              stderr=open(os.path.join(work, "err"), "w"), env=env)
    times = {text: t for t, text in LINES}
    printed, seek = [], None
    try:
        time.sleep(1.5)  # the Player finds mpv on the bus
        if on_ready:
            on_ready(lyrova.pid)
        started = {name: cpu_seconds(pid) for name, pid in (("player", lyrova.pid), ("mpv", mpv.proc.pid))}
        mpv.command("set_property", "pause", False)
        seek_at = None
        # The Player's lines are stamped by a thread of their own the moment they come: the
        # loop below may be waiting for an answer of mpv's then.
        arrived = queue.Queue()
        threading.Thread(target=stamp_lines, args=(lyrova.stdout, arrived), daemon=True).start()
        deadline = time.monotonic() + SONG_SECONDS + 10
        while time.monotonic() < deadline:
            try:
                now, raw = arrived.get(timeout=0.2)
            except queue.Empty:
                if mpv.proc.poll() is not None or mpv.command("get_property", "eof-reached"):
                    break
                continue
            if raw is None:
                break
            pos = mpv.position_at("time-pos", now)
            heard = mpv.position_at("audio-pts", now)
            text = raw.decode()
            if text in times:
                printed.append((text, times[text], pos, heard))
                if seek_at is not None and seek is None:
                    seek = (text, now - seek_at)
                if text == LINE_BEFORE_SEEK and seek_at is None:
                    time.sleep(0.4)
                    mpv.command("seek", SEEK_TO, "absolute")
                    seek_at = time.monotonic()
            if printed and printed[-1][0] == LINES[-1][1]:
                break
        # While mpv plays (the Player's start-up, before, is given apart).
        cpu = {name: cpu_seconds(pid) - started[name] for name, pid in (("player", lyrova.pid), ("mpv", mpv.proc.pid))}
        cpu["player start"] = started["player"]
    finally:
        lyrova.terminate()
        lyrova.wait(10)
        mpv.stop()
    return printed, seek, cpu, lyrova.pid


def check(printed, seek):
    faults = []
    texts = [p[0] for p in printed]
    want_before = [text for t, text in LINES if t <= 8.0]
    want_after = [text for t, text in LINES if t >= 15.0]
    if texts[:len(want_before)] != want_before:
        faults.append("lines before the seek: %s" % texts)
    if texts[len(want_before):] != want_after:
        faults.append("lines after the seek: %s" % texts)
    if seek is None or seek[0] != "line g":
        faults.append("the seek did not show its line: %s" % (seek,))
    elif seek[1] > 0.6:
        faults.append("the seek's line came %.0f ms late" % (seek[1] * 1000))
    for text, t, pos, _ in printed:
        if text == "line g":
            continue  # shown at the seek, not at its time
        error_ms = (pos - t) * 1000  # positive: printed after its time
        if error_ms < -50 or error_ms > 200:
            faults.append("%s printed at %.3f s, its time is %.3f s" % (text, pos, t))
    return faults


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("player")
    parser.add_argument("--report", action="store_true")
    args = parser.parse_args()
    if not os.environ.get("DBUS_SESSION_BUS_ADDRESS"):
        print("FAIL: no session bus (run under dbus-run-session)")
        return 1
    with tempfile.TemporaryDirectory() as work:
        printed, seek, cpu, _ = run_once(args.player, work)
        faults = check(printed, seek)
        if args.report:
            print(json.dumps({"printed": printed, "seek": seek, "cpu": cpu}))
        if faults:
            print("FAIL:\n  " + "\n  ".join(faults))
            print(open(os.path.join(work, "err")).read())
            return 1
    print("follow mode against mpv: ok (%d lines)" % len(printed))
    return 0


if __name__ == "__main__":
    sys.exit(main())
