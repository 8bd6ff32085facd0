#!/usr/bin/env bash
# The Player without any display: a first start (no search-directory list) on a song without
# lyrics must not wait for answers nobody can give. It says what it skipped and ends with the song.
#   headless_player.sh PLAYER SONG
set -euo pipefail
player=$1 song=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
cp "$player" "$work/lyrova"          # its own program folder, without LrcDir.ini
cp "$song" "$work/song.wav"          # no lyrics anywhere
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$work/config" \
  XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work" \
  timeout 30 "$work/lyrova" --echo --quit-at-end "$work/song.wav" >"$work/out" 2>"$work/err" || status=$?
[ "$status" -eq 0 ] || fail "the Player did not end with the song (status $status): $(cat "$work/err")"
grep -q "no display found" "$work/err" || fail "no word about the missing display"
grep -q "你还没有设置歌词查找目录.* -> no (no display)" "$work/err" || fail "the first-start question was not answered: $(cat "$work/err")"
grep -q "为当前歌曲指定歌词: not shown (no display)" "$work/err" || fail "the link dialog was not skipped"
[ ! -e "$work/LrcDir.ini" ] || fail "a search list was made without the user's say"
echo "headless Player: ok"
