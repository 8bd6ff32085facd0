#!/usr/bin/env bash
# Builds demo/demo.ogg, the demo song for demo/demo.lrc, from Debian tools only.
#
# Every lyric line is spoken by espeak-ng (Mandarin voice "cmn" for lines with Chinese text, an English
# voice for the others) so that its first sound falls on the moment the Player shows the line: the time
# tag minus the file's offset. Under the voice runs a soft backing made with sox: a sine pad and a plucked
# arpeggio that change chord with every line (C, Am, F, G, ending on G then C) and fade out at the end.
# The line times are read from demo.lrc itself, so editing the lyrics and rerunning keeps the two in step.
#
# After encoding, the script measures what it made: the Ogg duration, the start of every line in the voice
# track (ffmpeg silencedetect) against its display time, and that the decoded Ogg lines up with the mix.
# It fails when a line starts more than 50 ms away from its display time. The starts are measured on the
# voice track before its reverb and the backing are added (the reverb's tail would fill short gaps).
#
# Usage: demo/make-demo-song.sh [LRC [OGG]]      (defaults: demo/demo.lrc and demo/demo.ogg)
# Needs: espeak-ng, sox, ffmpeg (with libvorbis), python3.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
lrc=${1:-$here/demo.lrc}
out=${2:-$here/demo.ogg}

rate=44100              # sample rate of everything made here and of the Ogg
cmn_voice=cmn           # Mandarin; Latin words inside a Chinese line are read as English
en_voice=en-us
cmn_speed=175           # espeak-ng words per minute: unhurried, like a slow song
en_speed=145
pitch=70                # espeak-ng pitch 0-99 (50 is its normal speaking pitch)
min_gap=0.25            # seconds of quiet a line must leave before the next one starts
tail=2.0                # seconds the song runs on after the last line starts
min_song=30             # the demo song's length must stay within these bounds (seconds)
max_song=60
backing_db=-13          # backing level under the voice
vorbis_quality=3        # libvorbis -q: mono at 44.1 kHz gives about 60 kbit/s here
tolerance_ms=50         # largest accepted distance between a line's sound and its display time

# ---- tools -----------------------------------------------------------------------------------------
missing=()
need() {  # command, Debian package
  command -v "$1" >/dev/null 2>&1 || missing+=("$1 (package $2)")
}
need espeak-ng espeak-ng
need sox sox
need soxi sox
need ffmpeg ffmpeg
need ffprobe ffmpeg
need python3 python3
if [ ${#missing[@]} -gt 0 ]; then
  echo "make-demo-song: missing tools: ${missing[*]}" >&2
  echo "install them with: sudo apt-get install espeak-ng sox ffmpeg python3" >&2
  exit 1
fi
encoders=$(ffmpeg -hide_banner -encoders 2>/dev/null || true)
if [[ $encoders != *" libvorbis "* ]]; then
  echo "make-demo-song: this ffmpeg has no libvorbis encoder (Debian's ffmpeg package has it)" >&2
  exit 1
fi
for v in "$cmn_voice" "$en_voice"; do
  if ! espeak-ng -v "$v" -q x >/dev/null 2>&1; then
    echo "make-demo-song: espeak-ng has no voice '$v' (package espeak-ng-data)" >&2
    exit 1
  fi
done
[ -r "$lrc" ] || { echo "make-demo-song: cannot read $lrc" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/demo-song.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Every sox run: -R keeps its random parts (dither, the pluck's noise burst) the same on every run,
# -V2 shows errors and warnings (clipping among them).
sx() { sox -R -V2 "$@"; }

# ---- plan: read the lyrics, work out who sings what when ---------------------------------------------
# Reads the LRC the way the Player does: tags at the start of a line (only blanks between them), info
# tags ti/ar/al/by/offset in any letter case, time tags [mm:ss] or [mm:ss.f] where f is a decimal fraction
# of one to three digits (.5 = 500 ms, .045 = 45 ms), every time tag of a line giving its own entry, text
# trimmed, lines without a valid time dropped, the offset subtracted (a positive offset makes lines
# earlier) and negative times raised to 0. Writes:
#   plan.tsv    one row per timed line: index, start sample, slot samples (to the next line), clip, chord
#   clips.tsv   one row per distinct sung text: clip, voice, shortest slot in samples, text file
#   song.tsv    song length in samples, title, artist, album
python3 - "$lrc" "$work" "$rate" "$tail" "$min_song" "$max_song" <<'PY'
import re, sys, pathlib

lrc, work, rate, tail, min_song, max_song = sys.argv[1:]
work = pathlib.Path(work)
rate = int(rate)

raw = pathlib.Path(lrc).read_bytes()
if raw.startswith(b'\xef\xbb\xbf'):
    text = raw[3:].decode('utf-8', errors='replace')
else:
    try:
        text = raw.decode('utf-8')
        if text.isascii():
            raise UnicodeDecodeError('utf-8', b'', 0, 1, 'ascii only')
    except UnicodeDecodeError:
        text = raw.decode('gb18030', errors='replace')

NUMBER = re.compile(r'[+-]?(\d+(\.\d*)?|\.\d+)')

def number(s):
    s = s.strip()
    return float(s) if s and NUMBER.fullmatch(s) else None

def time_tag(tag):
    """Milliseconds of a time tag, or None when it is not one."""
    if ':' not in tag:
        return None
    minutes, rest = tag.split(':', 1)
    seconds, dot, fraction = rest.partition('.')
    m, s = number(minutes), number(seconds)
    digits = fraction.strip(' ')
    if m is None or s is None or (dot and not re.fullmatch(r'[0-9]{1,3}', digits)):
        return None
    m, s = round(m), round(s)
    if m > 99 or s > 59:
        return None
    ms = m * 60000 + s * 1000 + (int(digits.ljust(3, '0')) if dot else 0)
    return ms if ms >= 0 else None

info = {}
offset = 0
entries = []  # (time ms, file order, text)
for line in re.split(r'[\r\n\0]+', text):
    pos, times, last_was_info = 0, [], False
    while True:
        while pos < len(line) and line[pos] == ' ':
            pos += 1
        if pos >= len(line) or line[pos] != '[':
            break
        close = line.find(']', pos)
        if close < 0:
            break
        tag = line[pos + 1:close].strip()
        pos = close + 1
        last_was_info = False
        for key in ('ti', 'ar', 'al', 'by', 'offset'):
            start = tag[:len(key)]
            rest = tag[len(key):].strip() if start.isascii() and start.lower() == key else ''
            if rest.startswith(':'):
                value = rest[1:]
                if key != 'offset':
                    info[key] = value
                    last_was_info = True
                elif len(value.strip()) <= 10 and number(value) is not None:
                    offset = max(round(number(value)), -300000)
                    last_was_info = True
                break
        if not last_was_info:
            ms = time_tag(tag)
            if ms is not None:
                times.append(ms)
    body = line[pos:].strip()
    for ms in times:
        entries.append((max(ms - offset, 0), len(entries), body))

entries.sort()
if not entries:
    sys.exit(f'make-demo-song: {lrc} has no timed lines')

last_ms = entries[-1][0]
song_ms = last_ms + round(float(tail) * 1000)
if not float(min_song) * 1000 <= song_ms <= float(max_song) * 1000:
    sys.exit(f'make-demo-song: the song would last {song_ms / 1000:.2f} s (last line at '
             f'{last_ms / 1000:.2f} s); keep it within {min_song}-{max_song} s by retiming {lrc}')

def samples(ms):
    return ms * rate // 1000 if ms * rate % 1000 == 0 else round(ms * rate / 1000)

song_len = samples(song_ms)
CJK = re.compile('[\u2e80-\u9fff\uf900-\ufaff\uff00-\uffef]')
SOUNDING = re.compile(r'[^\W_]')   # a letter or digit: something espeak-ng will pronounce
progression = ['C', 'Am', 'F', 'G']

clips = {}   # (voice, text) -> [clip name, shortest slot]
with open(work / 'plan.tsv', 'w', encoding='utf-8') as plan:
    for i, (ms, _, body) in enumerate(entries):
        start = samples(ms)
        end = samples(entries[i + 1][0]) if i + 1 < len(entries) else song_len
        slot = end - start
        if i == len(entries) - 1:
            chord = 'C'
        elif i == len(entries) - 2:
            chord = 'G'
        else:
            chord = progression[i % len(progression)]
        clip = '-'
        if SOUNDING.search(body):
            voice = 'cmn' if CJK.search(body) else 'en'
            key = (voice, body)
            if key not in clips:
                name = f'v{len(clips):02d}'
                (work / f'{name}.txt').write_text(body, encoding='utf-8')
                clips[key] = [name, slot]
            clips[key][1] = min(clips[key][1], slot)
            clip = clips[key][0]
        plan.write(f'{i}\t{start}\t{slot}\t{clip}\t{chord}\t{body}\n')

with open(work / 'clips.tsv', 'w', encoding='utf-8') as f:
    for (voice, _), (name, slot) in clips.items():
        f.write(f'{name}\t{voice}\t{slot}\t{work / (name + ".txt")}\n')

with open(work / 'song.tsv', 'w', encoding='utf-8') as f:
    tags = [' '.join(info.get(key, '').split()) for key in ('ti', 'ar', 'al')]
    f.write('\t'.join([str(song_len)] + tags) + '\n')
PY
IFS=$'\t' read -r song_len title artist album <"$work/song.tsv"

secs() { python3 -c "import sys; print(f'{int(sys.argv[1]) / $rate:.3f}')" "$1"; }
echo "make-demo-song: $(wc -l <"$work/plan.tsv") timed lines, song length $(secs "$song_len") s"

# ---- voice ----------------------------------------------------------------------------------------
# One clip per distinct line, resampled to the song rate with the silence espeak-ng puts around speech
# cut off, so the clip's first sample is the line's first sound. A clip longer than its slot (minus the
# gap) is sped up with sox tempo, which keeps its pitch.
gap_samples=$(python3 -c "print(round($min_gap * $rate))")
while IFS=$'\t' read -r name voice slot textfile; do
  if [ "$voice" = cmn ]; then v=$cmn_voice; s=$cmn_speed; else v=$en_voice; s=$en_speed; fi
  espeak-ng -b 1 -v "$v" -s "$s" -p "$pitch" -w "$work/$name.raw.wav" -f "$textfile"
  trim_silence=(silence 1 0.005 -60d reverse silence 1 0.005 -60d reverse)
  sx "$work/$name.raw.wav" "$work/$name.wav" gain -3 rate -v "$rate" "${trim_silence[@]}" gain -n -3
  len=$(soxi -s "$work/$name.wav")
  room=$((slot - gap_samples))
  if [ "$len" -gt "$room" ]; then
    if [ "$room" -lt $((rate / 4)) ]; then
      echo "make-demo-song: no room to sing \"$(cat "$textfile")\": the next line follows too soon" >&2
      exit 1
    fi
    factor=$(python3 -c "print(f'{$len / $room + 0.005:.3f}')")
    echo "make-demo-song: \"$(cat "$textfile")\" lasts $(secs "$len") s, slot $(secs "$slot") s: tempo x$factor"
    sx "$work/$name.raw.wav" "$work/$name.wav" gain -3 rate -v "$rate" tempo -s "$factor" \
      "${trim_silence[@]}" gain -n -3
  fi
  if [ "$(soxi -s "$work/$name.wav")" -eq 0 ]; then
    echo "make-demo-song: espeak-ng made no sound for \"$(cat "$textfile")\"" >&2
    exit 1
  fi
done <"$work/clips.tsv"

# Silence of the song's length as the first input fixes the length; every clip is laid in at its line's
# start by padding it with that many samples of silence in front.
sx -r "$rate" -c 1 -n "$work/silence.wav" trim 0 "${song_len}s"
mix_args=(-v 1 "$work/silence.wav")
while IFS=$'\t' read -r _ start _ clip _ _; do
  [ "$clip" = - ] && continue
  mix_args+=(-v 1 "|sox -R -V1 '$work/$clip.wav' -p pad ${start}s")
done <"$work/plan.tsv"
sx -m "${mix_args[@]}" "$work/voice-dry.wav" trim 0 "${song_len}s"
# A touch of room sound; the reverb adds to the dry voice without delaying it.
sx "$work/voice-dry.wav" "$work/voice.wav" reverb 22 60 35 gain -n -1

# ---- backing --------------------------------------------------------------------------------------
# Per line one segment from its start: a pad of detuned sine pairs with a slow swell and a release that
# overlaps the next segment, and a plucked arpeggio on the beat (0.5 s). The first segment starts at 0
# so there is music under the first words; the last rings out to the end of the song.
python3 - "$work" <<'PY'
import sys, pathlib
work = pathlib.Path(sys.argv[1])
chords = {  # MIDI notes: pad voicing, arpeggio pattern
    'C':  ([48, 55, 60, 64], [60, 67, 72, 76, 72, 67]),
    'Am': ([45, 52, 57, 60], [57, 64, 69, 72, 69, 64]),
    'F':  ([41, 48, 53, 57], [53, 60, 65, 69, 65, 60]),
    'G':  ([43, 50, 55, 59], [55, 62, 67, 71, 67, 62]),
}
hz = lambda n: 440.0 * 2 ** ((n - 69) / 12)
with open(work / 'chords.tsv', 'w') as f:
    for name, (pad, arp) in chords.items():
        pad_hz = ' '.join(f'{hz(n):.3f} {hz(n) * 1.003:.3f}' for n in pad)
        arp_hz = ' '.join(f'{hz(n):.3f}' for n in arp)
        f.write(f'{name}\t{pad_hz}\t{arp_hz}\n')
PY

declare -A pad_of arp_of
while IFS=$'\t' read -r name pad arp; do pad_of[$name]=$pad; arp_of[$name]=$arp; done <"$work/chords.tsv"

beat=$((rate / 2))
release=$((rate * 4 / 5))
back_args=(-v 1 "$work/silence.wav")
first=1
while IFS=$'\t' read -r i start slot _ chord _; do
  if [ "$first" = 1 ]; then slot=$((slot + start)); start=0; first=0; fi
  [ "$slot" -gt 0 ] || continue   # a line at the same time as the next one gets no chord of its own
  end=$((start + slot))
  seg_len=$((end + release <= song_len ? slot + release : song_len - start))

  read -r -a freqs <<<"${pad_of[$chord]}"
  synth=()
  for f in "${freqs[@]}"; do synth+=(sine "$f"); done
  sx -r "$rate" -c "${#freqs[@]}" -n -c 1 "$work/pad$i.wav" synth "${seg_len}s" "${synth[@]}" \
    remix - fade h 0.4 "${seg_len}s" 1.0

  read -r -a notes <<<"${arp_of[$chord]}"
  synth=(); delays=()
  for ((k = 0; k * beat < slot; k++)); do
    synth+=(pluck "${notes[k % ${#notes[@]}]}")
    delays+=("$((k * beat))s")
  done
  sx -r "$rate" -c "${#synth[@]}" -n -c 1 "$work/arp$i.wav" synth 1.8 "${synth[@]}" \
    fade q 0.005 1.8 0.6 delay "${delays[@]}" remix - gain -n -6

  back_args+=(-v 0.35 "|sox -R -V1 '$work/pad$i.wav' -p pad ${start}s")
  back_args+=(-v 0.25 "|sox -R -V1 '$work/arp$i.wav' -p pad ${start}s")
done <"$work/plan.tsv"
sx -m "${back_args[@]}" "$work/backing.wav" trim 0 "${song_len}s" lowpass 2800 reverb 45 50 70 \
  gain -n -1

# ---- mix and encode -------------------------------------------------------------------------------
back_gain=$(python3 -c "print(f'{10 ** ($backing_db / 20):.4f}')")
sx -m -v 1 "$work/voice.wav" -v "$back_gain" "$work/backing.wav" "$work/mix.wav" \
  trim 0 "${song_len}s" fade q 0.05 "${song_len}s" 1.2 gain -n -1

meta=()
[ -n "$title" ] && meta+=(-metadata "title=$title")
[ -n "$artist" ] && meta+=(-metadata "artist=$artist")
[ -n "$album" ] && meta+=(-metadata "album=$album")
ffmpeg -nostdin -hide_banner -loglevel error -y -i "$work/mix.wav" -map_metadata -1 "${meta[@]}" \
  -c:a libvorbis -q:a "$vorbis_quality" -ac 1 -ar "$rate" \
  -fflags +bitexact -flags:a +bitexact "$work/song.ogg"

# ---- measure --------------------------------------------------------------------------------------
# The new Ogg replaces the old one only when every check passes.
ogg=$work/song.ogg
duration=$(ffprobe -v error -show_entries format=duration -of default=nw=1:nk=1 "$ogg")
ffmpeg -nostdin -hide_banner -loglevel error -y -i "$ogg" -ar "$rate" -ac 1 "$work/decoded.wav"
ffmpeg -nostdin -hide_banner -nostats -i "$work/voice-dry.wav" -af silencedetect=noise=-45dB:d=0.1 \
  -f null - 2>"$work/silence.log"
residual_rms=$(sox -V1 -m -v 1 "$work/mix.wav" -v -1 "$work/decoded.wav" -n stat 2>&1 |
  awk '/RMS +amplitude/ {print $3}')
mix_rms=$(sox -V1 "$work/mix.wav" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}')

python3 - "$work" "$rate" "$song_len" "$duration" "$tolerance_ms" "$residual_rms" "$mix_rms" \
  "$ogg" "$out" <<'PY'
import math, os, re, sys, pathlib
work, rate, song_len, duration, tolerance, residual, mix, ogg, out = sys.argv[1:]
work, rate, song_len, tolerance = pathlib.Path(work), int(rate), int(song_len), float(tolerance)
log = (work / 'silence.log').read_text(errors='replace')
onsets = [float(x) for x in re.findall(r'silence_end: ([0-9.]+)', log)]
if re.search(r'silence_start: 0(\.0+)?\b', log) is None:
    onsets.insert(0, 0.0)   # the voice track does not start with silence
failed = []
print(f'{"line":>4}  {"shown at":>9}  {"heard at":>9}  {"diff":>7}  text')
for row in (work / 'plan.tsv').read_text(encoding='utf-8').splitlines():
    i, start, _, clip, _, text = row.split('\t')
    if clip == '-':
        continue
    shown = int(start) / rate
    heard = min(onsets, key=lambda t: abs(t - shown), default=None)
    if heard is None or abs(heard - shown) * 1000 > tolerance:
        failed.append(text)
        print(f'{i:>4}  {shown:9.3f}  {"-" if heard is None else f"{heard:9.3f}":>9}  '
              f'{"":>7}  {text}   <-- not heard at its time')
    else:
        print(f'{i:>4}  {shown:9.3f}  {heard:9.3f}  {(heard - shown) * 1000:+5.1f}ms  {text}')
align_db = 20 * math.log10(max(float(residual), 1e-9) / float(mix))
size = os.path.getsize(ogg)
print(f'{out}: {float(duration):.3f} s (planned {song_len / rate:.3f} s), {size // 1024} KiB; '
      f'decoded Ogg minus mix: {align_db:.1f} dB')
if abs(float(duration) - song_len / rate) > 0.05:
    failed.append('duration')
    print('make-demo-song: the Ogg duration differs from the plan', file=sys.stderr)
if align_db > -12:
    failed.append('alignment')
    print('make-demo-song: the decoded Ogg does not line up with the mix', file=sys.stderr)
if failed:
    sys.exit(f'make-demo-song: {len(failed)} check(s) failed')
PY
mv -f "$ogg" "$out"
