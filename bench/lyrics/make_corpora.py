#!/usr/bin/env python3
"""Writes the lyrics-loading corpora, each in UTF-8 and in GBK, into the folder given.

typical: a song of about 60 lines (about 3 KB); big: 100,000 lines (about 4 MB);
multi: 20,000 lines each carrying 5 time tags in no particular order.
The content is generated from a fixed seed, so every run measures the same bytes.
"""
import random
import sys
from pathlib import Path

WORDS_ZH = "月光 江水 夜色 灯火 远方 风声 回家 码头 歌声 星星 等待 轻轻 梦里 故乡 小船 秋天".split()
WORDS_EN = "river night light home song wind star dream boat slow wait near far".split()


def tag(cs):
    cs %= 100 * 6000
    return "[%02d:%02d.%02d]" % (cs // 6000, cs // 100 % 60, cs % 100)


def lyric(rng, size):
    if rng.random() < 0.5:
        return "".join(rng.choice(WORDS_ZH) for _ in range(size))
    return " ".join(rng.choice(WORDS_EN) for _ in range(size + 1))


def header():
    return ["[ti:测试歌曲 Test Song]", "[ar:演唱者]", "[al:专辑]", "[by:生成器]", "[offset:100]"]


def typical(rng):
    lines = header()
    for i in range(60):
        lines.append(tag(300 + i * 350) + lyric(rng, 6))
    return lines


def big(rng):
    lines = header()
    for i in range(100_000):
        lines.append(tag(i * 5) + lyric(rng, 4))
    return lines


def multi(rng):
    lines = header()
    for _ in range(20_000):
        tags = "".join(tag(rng.randrange(0, 99 * 6000)) for _ in range(5))
        lines.append(tags + lyric(rng, 3))
    return lines


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    for name, make in (("typical", typical), ("big", big), ("multi", multi)):
        text = "\r\n".join(make(random.Random(20261207))) + "\r\n"
        (out / f"{name}.utf8.lrc").write_bytes(text.encode("utf-8"))
        (out / f"{name}.gbk.lrc").write_bytes(text.encode("gbk"))


if __name__ == "__main__":
    main()
