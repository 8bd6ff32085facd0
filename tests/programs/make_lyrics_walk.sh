#!/usr/bin/env bash
# A new user makes lyrics for a song, end to end, in the real programs on a real X server
# (Xvfb), with keys and clicks from xdotool: the Player opens a song without lyrics and offers
# the link dialog; its "Versel" button starts the Editor on the song; two lines are typed, the
# song is played and F2 stamps each line; Ctrl+S saves to a new file beside the song; the
# Player, which was never told and left the song to the Editor, shows the lines when played.
#   make_lyrics_walk.sh BIN_FOLDER SONG [SHOTS_FOLDER]
# BIN_FOLDER holds the built programs; SHOTS_FOLDER (default: a temporary one) receives a
# screenshot of every step.
set -euo pipefail
bin=$1 song=$2
work=$(mktemp -d)
shots=${3:-$work/shots}
mkdir -p "$shots"
rm -f "$shots"/*.png
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  shot failed || true
  echo "screenshots in $shots" >&2
  exit 1
}
# Screenshots need ImageMagick's import; without it the walk still runs.
shot() {
  command -v import >/dev/null || return 0
  import -display "$DISPLAY" -window root "$shots/$1.png"
}

# The programs in a folder of their own, with an empty search list (no first-start question);
# the song in a folder with no lyrics anywhere.
mkdir -p "$work/prog" "$work/music" "$work/home"
for f in lyrova Versel emotions.ini help.html; do
  [ -e "$bin/$f" ] && cp "$bin/$f" "$work/prog/"
done
: >"$work/prog/LrcDir.ini"
cp "$song" "$work/music/晚风.ogg"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/config XDG_DATA_HOME=$work/home/data
export XDG_RUNTIME_DIR=$work LC_ALL=C.UTF-8
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

# A display of our own; Xvfb writes the number it took.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=:$(head -n1 "$work/display")

# The window named $1, waited for up to $2 seconds.
window() {
  local id
  for _ in $(seq $((${2:-10} * 10))); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1) || true
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
# Clicks at x y inside window $1.
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.3; }

"$work/prog/lyrova" --echo "$work/music/晚风.ogg" >"$work/echo" 2>"$work/player.err" &
pids+=($!)
link=$(window "为当前歌曲指定歌词" 20) || fail "the Player did not offer the link dialog: $(cat "$work/player.err")"
sleep 0.5
shot 1-link-dialog
click "$link" 469 197   # "Versel"
editor=$(window "^Versel" 20) || fail "the Versel button did not start the Editor"
# There is no window manager: every window opens at the top left. The Editor goes below the
# Player's strip so that both can be seen.
xdotool windowmove "$editor" 0 120
sleep 1
shot 2-editor

# Two lines typed into the text box, each ended by Return except the last. They are typed as
# keys of the keyboard: xdotool can only type a Chinese character by remapping a spare key code
# for it, which drops characters on a loaded machine (a Chinese user's input method hands the
# program whole committed text instead, which xdotool cannot do).
click "$editor" 312 466
xdotool type --delay 20 "Wan feng qing chui"
xdotool key Return
click "$editor" 312 466
xdotool type --delay 20 "chui guo xiao he bian"
shot 3-typed

# The song plays in the Editor; F2 stamps the selected line and moves to the next.
click "$editor" 100 105   # the first row
xdotool key F5
sleep 1.5
xdotool key F2
sleep 1.5
xdotool key F2
shot 4-stamped

# Ctrl+S: the document has no file yet, so the save dialog asks; it proposes the song's name.
xdotool key ctrl+s
save=$(window "保存歌词文件" 10) || fail "Ctrl+S did not ask where to save"
sleep 0.5
shot 5-save-dialog
xdotool key Return
lrc=$work/music/晚风.lrc
for _ in $(seq 50); do [ -s "$lrc" ] && break; sleep 0.1; done
[ -s "$lrc" ] || fail "no lyrics file was saved beside the song"
shot 6-saved

# The saved file holds both lines, stamped in order.
dump=$("$bin/lrctool" dump "$lrc")
echo "$dump" | grep -q '"text": "Wan feng qing chui", "timed": true' || fail "first line not saved: $dump"
echo "$dump" | grep -q '"text": "chui guo xiao he bian", "timed": true' || fail "second line not saved: $dump"

# The Player left the song to the Editor: it has not played. Started now with its play button,
# it shows the new lines, which nobody told it about.
[ ! -s "$work/echo" ] || fail "the Player played along with the Editor: $(tr '\n' '|' <"$work/echo")"
player=$(window "^Lyrova$" 5) || fail "the Player's window is gone"
click "$player" 37 59   # play
for _ in $(seq 100); do grep -q "chui guo xiao he bian" "$work/echo" && break; sleep 0.1; done
shot 7-player
grep -q "Wan feng qing chui" "$work/echo" && grep -q "chui guo xiao he bian" "$work/echo" ||
  fail "the Player did not show the new lyrics (its lines: $(tr '\n' '|' <"$work/echo"))"
echo "made lyrics end to end: ok"
