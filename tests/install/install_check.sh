#!/usr/bin/env bash
# Installs the built suite into a temporary folder as a user would, then checks the layout, the
# desktop entries and that the installed Player plays a song with its lyrics from there.
#   install_check.sh BUILD_DIR SONG PROGRAM...
set -euo pipefail
build=$1 song=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/my apps/lyrova"   # a blank in the path on purpose
fail() { echo "FAIL: $*" >&2; exit 1; }

XDG_DATA_HOME="$work/share" cmake --install "$build" --prefix "$prefix" >/dev/null

for program in "$@"; do
  [ -x "$prefix/$program" ] || fail "$program not installed"
done
for file in help.html icons/lyrova.svg icons/versel.svg icons/scoutel.svg; do
  [ -f "$prefix/$file" ] || fail "$file not installed"
done
[ -d "$prefix/Lrc" ] || fail "the Lrc folder is missing"

for entry in lyrova:lyrova versel:Versel scoutel:Scoutel; do
  name=${entry%%:*} program=${entry#*:}
  desktop="$work/share/applications/$name.desktop"
  [ -f "$desktop" ] || fail "$name.desktop not written"
  grep -qx "Exec=\"$prefix/$program\"\( %f\)\?" "$desktop" || fail "$name.desktop: wrong Exec: $(grep ^Exec "$desktop")"
  icon=$(sed -n 's/^Icon=//p' "$desktop")
  [ -f "$icon" ] || fail "$name.desktop: icon $icon missing"
done

# The installed Player, in its own writable folder, plays a song with the lyrics beside it.
mkdir "$work/music"
cp "$song" "$work/music/song.wav"
printf '[00:00.30]第一行\r\n[00:01.00]second line\r\n' > "$work/music/song.lrc"
: > "$prefix/LrcDir.ini"
out=$(QT_QPA_PLATFORM=offscreen timeout 30 "$prefix/lyrova" --echo --quit-at-end "$work/music/song.wav" 2>/dev/null) ||
  fail "the installed Player did not end with the song"
# The first line printed is the empty one before the first time tag.
expected=$'\n第一行\nsecond line'
[ "$out" = "$expected" ] || fail "the installed Player printed: $out"
echo "installed into $prefix: ok"
