#!/usr/bin/env bash
# The real Player on a session bus of its own (run under dbus-run-session), driven through
# playerctl as the desktop's media keys and panels drive it: its status, the title and artist
# of its song from the lyrics' tags, play-pause, a seek and stop.
#   publish_player.sh PLAYER
set -euo pipefail
player=$1
work=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; echo "--- the Player said:" >&2; cat "$work/err" >&2 || true; exit 1; }
ctl() { playerctl -p lyrova "$@" 2>/dev/null || true; }
# Waits up to 10 s until `ctl ARGS...` prints WANT.
await() {
  local want=$1; shift
  for _ in $(seq 100); do
    [ "$(ctl "$@")" = "$want" ] && return 0
    sleep 0.1
  done
  fail "playerctl $* printed '$(ctl "$@")', not '$want'"
}

cp "$player" "$work/lyrova"
sox -n -r 44100 -c 2 "$work/歌 one.wav" synth 30 sine 440 vol 0.1
printf '[ti:测试之歌]\r\n[ar:某位歌手]\r\n[00:01.00]第一句\r\n[00:20.00]第二句\r\n' >"$work/歌 one.lrc"
: >"$work/err"
env QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  "$work/lyrova" "$work/歌 one.wav" >/dev/null 2>"$work/err" &
pid=$!

await Playing status
[ "$(ctl metadata title)" = "测试之歌" ] || fail "title: $(ctl metadata title)"
[ "$(ctl metadata artist)" = "某位歌手" ] || fail "artist: $(ctl metadata artist)"
url=$(ctl metadata xesam:url)
[ "$(python3 -c 'import sys, urllib.parse; print(urllib.parse.unquote(sys.argv[1]))' "$url")" = "file://$work/歌 one.wav" ] ||
  fail "url: $url"
length=$(ctl metadata mpris:length)
[ "$length" -ge 29900000 ] && [ "$length" -le 30100000 ] || fail "length: $length"

ctl play-pause
await Paused status
ctl play-pause
await Playing status
ctl position 20
position=$(ctl position)
python3 -c 'import sys; p = float(sys.argv[1]); sys.exit(0 if 20 <= p < 22 else 1)' "$position" ||
  fail "position after the seek to 20 s: $position"
ctl stop
await Stopped status
kill -0 "$pid" || fail "the Player ended"
echo "published Player: ok"
