#!/usr/bin/env python3
"""What a user expects of each file of the real-world lyrics corpus, worked out from the bytes alone.

This is deliberately not the suite's reader: it reads every file as its author meant it to be read
and writes one row per file into tests/lyrics/corpus/expected.tsv, which the corpus test and
corpus_timed_lines.py compare the reader against.

Usage: corpus_expectations.py [--check] [CORPUS_DIR]
  --check  do not write; fail when expected.tsv differs from what the files give now

Rules (decided here; each is what a person looking at the file would say):
- Encoding: a UTF-8 mark, a UTF-16 LE or BE mark, bytes that are valid UTF-8, else GB18030.
  After decoding, any run of CR, LF and NUL is one line break.
- A line starts with a run of bracketed tags separated only by blanks (blanks inside the
  brackets do not count). Every valid time tag in that run yields one timed line, whatever the
  other tags of the run are and whether text follows.
- A valid time tag is m:s, m:s.f with one or two digits of minutes, one or two digits of
  seconds (59 at most) and one to three digits of fraction. Not valid: four or more fraction
  digits, seconds above 59, signs ("[00:-03.00]"), ":" before the fraction ("[00:12:34]").
  One-digit seconds ("[00:0.05]") are valid, as unpadded fields always were.
- offset: the last "offset" tag (any letter case) whose value is a number; 0 without one.
- unknown_tags: lines made of exactly one "[key:value]" tag and nothing else, where the key is
  letters, "_" or "-" and not ti, ar, al, by or offset in any case.
- word_tags: some timed line carries "<m:s.f>" (same fields as a time tag) in its text.
- shared_times: two or more timed lines of the file have the same time (translations).
- ms_tags: valid time tags with a three-digit fraction.
- player_ms_sum: the sum of the times at which the Player is to show the timed lines (offset
  subtracted, times before 0 raised to 0): a wrongly read fraction or offset changes it.
"""
import os
import re
import sys

CORPUS_DEFAULT = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                              "..", "..", "tests", "lyrics", "corpus")
COLUMNS = ["file", "encoding", "timed_lines", "offset", "unknown_tags", "word_tags",
           "shared_times", "ms_tags", "player_ms_sum"]

TIME = re.compile(r"(\d{1,2}):(\d{1,2})(?:\.(\d{1,3}))?")
WORD_TAG = re.compile(r"<(\d{1,2}):(\d{1,2})(?:\.(\d{1,3}))?>")
INFO = re.compile(r"(ti|ar|al|by|offset)\s*:(.*)", re.IGNORECASE | re.DOTALL)
UNKNOWN = re.compile(r"\[([A-Za-z_-]+):([^\]]*)\]")
NUMBER = re.compile(r"[+-]?(\d+\.?\d*|\.\d+)")
BREAKS = re.compile(r"[\r\n\0]+")


def decode(data):
    """(encoding name, text) the way the file's author saved it."""
    if data.startswith(b"\xef\xbb\xbf"):
        return "utf8-bom", data[3:].decode("utf-8", errors="replace")
    if data.startswith(b"\xff\xfe"):
        return "utf16le-bom", data[2:].decode("utf-16-le", errors="replace")
    if data.startswith(b"\xfe\xff"):
        return "utf16be-bom", data[2:].decode("utf-16-be", errors="replace")
    try:
        text = data.decode("utf-8")
        return ("utf8" if any(b >= 0x80 for b in data) else "ascii"), text
    except UnicodeDecodeError:
        return "gb18030", data.decode("gb18030", errors="replace")


def time_ms(tag):
    """Milliseconds of a valid time tag's content, or None."""
    m = TIME.fullmatch(tag)
    if not m or int(m.group(2)) > 59:
        return None
    fraction = m.group(3) or ""
    ms = int(fraction.ljust(3, "0")) if fraction else 0
    return (int(m.group(1)) * 60 + int(m.group(2))) * 1000 + ms


def leading_tags(line):
    """The contents of the line's leading tags (trimmed of blanks) and the text after them."""
    tags = []
    pos = 0
    while True:
        while pos < len(line) and line[pos] == " ":
            pos += 1
        if pos >= len(line) or line[pos] != "[":
            break
        end = line.find("]", pos)
        if end < 0:
            break
        tags.append(line[pos + 1:end].strip(" "))
        pos = end + 1
    return tags, line[pos:]


def expectations(data):
    """The row of expected.tsv for one file's bytes (without the file name)."""
    row, times = analyse(data)
    row["player_ms_sum"] = sum(max(0, t - row["offset"]) for t in times)
    return row


def player_times(data):
    """The times, in milliseconds and ascending, at which a user expects the Player to show the
    file's timed lines: the offset subtracted, earlier than 0 raised to 0."""
    row, times = analyse(data)
    return sorted(max(0, t - row["offset"]) for t in times)


def analyse(data):
    encoding, text = decode(data)
    row = {"encoding": encoding, "timed_lines": 0, "offset": 0, "unknown_tags": 0,
           "word_tags": 0, "shared_times": 0, "ms_tags": 0}
    times = {}
    all_times = []
    for line in BREAKS.split(text):
        tags, rest = leading_tags(line)
        line_times = []
        for tag in tags:
            ms = time_ms(tag)
            if ms is not None:
                line_times.append(ms)
                if "." in tag and len(tag.split(".")[1]) == 3:
                    row["ms_tags"] += 1
                continue
            info = INFO.fullmatch(tag)
            if info and info.group(1).lower() == "offset":
                value = info.group(2).strip()
                if NUMBER.fullmatch(value):
                    row["offset"] = int(round(float(value)))
        if line_times:
            row["timed_lines"] += len(line_times)
            all_times.extend(line_times)
            for ms in line_times:
                times[ms] = times.get(ms, 0) + 1
            if WORD_TAG.search(rest):
                row["word_tags"] = 1
            continue
        unknown = UNKNOWN.fullmatch(line.strip(" \t"))
        if unknown and unknown.group(1).lower() not in ("ti", "ar", "al", "by", "offset"):
            row["unknown_tags"] += 1
    row["shared_times"] = int(any(n > 1 for n in times.values()))
    return row, all_times


def table(corpus):
    rows = []
    for name in sorted(os.listdir(corpus)):
        if not name.endswith(".lrc"):
            continue
        with open(os.path.join(corpus, name), "rb") as f:
            row = expectations(f.read())
        row["file"] = name
        rows.append("\t".join(str(row[c]) for c in COLUMNS))
    return "\t".join(COLUMNS) + "\n" + "".join(r + "\n" for r in rows)


def main(argv):
    check = "--check" in argv
    args = [a for a in argv if a != "--check"]
    corpus = args[0] if args else CORPUS_DEFAULT
    out = os.path.join(corpus, "expected.tsv")
    text = table(corpus)
    if check:
        with open(out, encoding="utf-8") as f:
            if f.read() != text:
                print("expected.tsv is out of date; run corpus_expectations.py", file=sys.stderr)
                return 1
        return 0
    with open(out, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)
    print("%s: %d files" % (out, text.count("\n") - 1))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
