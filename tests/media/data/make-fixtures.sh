#!/usr/bin/env bash
# Makes the small audio files of the media tests (a 440 Hz tone, 8 kHz mono, each format a
# different length) and lengths.tsv with each file's length in milliseconds as decoded by
# ffmpeg, which the tests compare the engine's length with. Run it from anywhere; the files
# are committed, so the tests do not need sox or ffmpeg.
set -euo pipefail
cd "$(dirname "$0")"

ff=(ffmpeg -hide_banner -loglevel error -y)
tone() { echo "sine=frequency=440:sample_rate=8000:duration=$1"; }

"${ff[@]}" -f lavfi -i "$(tone 2.0)" -ac 1 -c:a pcm_u8 -bitexact -map_metadata -1 tone.wav
# ffmpeg's FLAC rather than sox's: libmpv ends sox-made FLAC files at once when a seek lands
# in their last frames.
"${ff[@]}" -f lavfi -i "$(tone 2.25)" -ac 1 -sample_fmt s16 -c:a flac -compression_level 12 -bitexact \
  -map_metadata -1 tone.flac
"${ff[@]}" -f lavfi -i "$(tone 2.5)" -ac 1 -c:a libvorbis -q:a 0 -bitexact -map_metadata -1 tone.ogg
# Without the Xing/LAME header the stated length is the length of all frames, which is what
# a decoder plays (576-sample frames: 2.75 s of tone fill 41 frames).
"${ff[@]}" -f lavfi -i "$(tone 2.75)" -ac 1 -c:a libmp3lame -b:a 8k -write_xing 0 -bitexact \
  -map_metadata -1 tone.mp3
# A file with a video track and no audio.
"${ff[@]}" -f lavfi -i testsrc=size=16x16:rate=1:duration=1 -c:v mpeg4 -bitexact \
  -map_metadata -1 video-only.mkv

{
  printf 'file\tms\n'
  for f in tone.wav tone.flac tone.ogg tone.mp3; do
    bytes=$("${ff[@]}" -i "$f" -f s16le -ac 1 -ar 8000 - | wc -c)
    printf '%s\t%d\n' "$f" $((bytes / 16))  # 16 bytes of 16-bit mono samples per ms at 8 kHz
  done
} > lengths.tsv
