#!/usr/bin/env python3
"""How late this machine wakes a process that sleeps, with nothing of the Player in it.

Sleeps for random spans of 5-40 ms (the spans between words and strip frames) for the given
seconds and prints how late each wake-up came. A word of line_timing.py --words can be printed
no more exactly than the machine wakes the Player for it: run this beside it (or before, on a
quiet machine) to tell the Player's own lateness from the machine's. `chrt -f 50` in front
shows the machine without other processes in the way.

usage: wake_probe.py [SECONDS]
"""
import random
import sys
import time


def main():
    seconds = float(sys.argv[1]) if len(sys.argv) > 1 else 40
    rng = random.Random(1)
    late = []
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        span = rng.uniform(0.005, 0.040)
        start = time.monotonic()
        time.sleep(span)
        late.append((time.monotonic() - start - span) * 1000)
    late.sort()
    n = len(late)
    print("wake-ups: %d, median %.2f ms late, 99 %% %.2f ms, 99.5 %% %.2f ms, latest %.2f ms; "
          "more than 2 ms late: %d" % (n, late[n // 2], late[int(n * 0.99)], late[int(n * 0.995)],
                                       late[-1], sum(1 for x in late if x > 2)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
