#!/usr/bin/env bash
# Makes the Debian package from the build tree and checks it as a system-wide install would
# see it, without root and without installing it:
#   - lintian finds no error or warning (the kept ones are in packaging/lintian-overrides);
#   - the runtime dependencies, the maintainer scripts (none), the file layout;
#   - desktop entries, AppStream data and the LRC file type pass their freedesktop checks;
#   - every program answers --version with the project's version, and the options of
#     `--help` are those of its man page;
#   - the unpacked Player, started through its /usr/bin link with no display, plays a song
#     whose lyrics are in the user's own data folder, and running the programs creates nothing
#     inside the unpacked tree, so removing the package leaves nothing of ours behind.
#   package_check.sh BUILD_DIR SOURCE_DIR VERSION SONG
set -euo pipefail
build=$1 source=$2 version=$3 song=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
  fail "cpack failed: $(cat "$work/cpack.log")"
debs=("$work/out"/lyrova_"$version"_*.deb)
[ -f "${debs[0]}" ] || fail "no lyrova_${version}_<arch>.deb made: $(ls "$work/out")"
deb=${debs[0]}
[ "$(basename "$deb")" = "lyrova_${version}_$(dpkg --print-architecture).deb" ] || fail "package named $(basename "$deb")"

# lintian ---------------------------------------------------------------------------------
lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 || fail "lintian: $(cat "$work/lintian.log")"
grep -E '^[EW]: ' "$work/lintian.log" && fail "lintian reported the lines above"

# control data ----------------------------------------------------------------------------
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Version)" = "$version" ] || fail "Version is $(field Version)"
depends=$(field Depends)
for wanted in 'libmpv[0-9]' 'qt6-translations-l10n' 'fonts-noto-cjk | fonts-wqy-zenhei' 'libqt6widgets6' 'libc6'; do
  grep -qE "(^|, )$wanted" <<<"$depends" || fail "Depends lacks $wanted: $depends"
done
dpkg-deb -e "$deb" "$work/control"
for script in preinst postinst prerm postrm config triggers; do
  [ ! -e "$work/control/$script" ] || fail "the package has a $script script; nothing of ours would clean up after it"
done

# layout ----------------------------------------------------------------------------------
root="$work/root"
dpkg-deb -x "$deb" "$root"
lib="$root/usr/lib/lyrova"
for entry in lyrova:lyrova versel:Versel scoutel:Scoutel lrctool:lrctool; do
  command=${entry%%:*} program=${entry#*:}
  [ -x "$lib/$program" ] || fail "$program missing from the program folder"
  [ "$(readlink "$root/usr/bin/$command")" = "../lib/lyrova/$program" ] ||
    fail "/usr/bin/$command links to $(readlink "$root/usr/bin/$command")"
  [ -s "$root/usr/share/man/man1/$command.1.gz" ] || fail "no man page $command.1.gz"
done
for file in help.html emotions.ini system-wide; do
  [ -f "$lib/$file" ] || fail "$file missing from the program folder"
done
[ -d "$lib/Lrc" ] && [ -z "$(ls -A "$lib/Lrc")" ] || fail "the built-in Lrc folder is missing or not empty"
if [ -f "$build/bin/lyrova-chatbridge.exe" ]; then
  [ -f "$lib/lyrova-chatbridge.exe" ] || fail "the chat bridge was built but is not packaged"
  grep -qE '(^|, )wine(,|$)' <<<"$(field Recommends)" || fail "Recommends lacks wine: $(field Recommends)"
fi
for icon in lyrova versel scoutel; do
  [ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable $icon icon"
  for size in 16 22 24 32 48 64 128 256; do
    png="$root/usr/share/icons/hicolor/${size}x${size}/apps/$icon.png"
    [ -f "$png" ] || fail "no ${size}px $icon icon"
    # The width and height of a PNG are the big-endian words at bytes 16 and 20.
    dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
    [ "$dims" = "${size}x${size}" ] || fail "the ${size}px $icon icon is $dims"
  done
done

# freedesktop checks ----------------------------------------------------------------------
for entry in lyrova versel scoutel; do
  desktop="$root/usr/share/applications/$entry.desktop"
  out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate $entry: $out"
  [ -z "$out" ] || fail "desktop-file-validate $entry: $out"
  exec_command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
  [ -L "$root/usr/bin/$exec_command" ] || fail "$entry.desktop runs $exec_command, which is not in /usr/bin"
  icon=$(sed -n 's/^Icon=//p' "$desktop")
  [ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "$entry.desktop names the icon $icon, which is not in the theme"
done
metainfo=("$root"/usr/share/metainfo/*.metainfo.xml)
appstreamcli validate --no-net --explain "${metainfo[@]}" >"$work/appstream.log" 2>&1 ||
  fail "appstreamcli: $(cat "$work/appstream.log")"
newest=$(grep -o '<release version="[^"]*"' "${metainfo[0]}" | head -1 | cut -d'"' -f2)
[ "$newest" = "$version" ] || fail "the newest release in the AppStream data is $newest, the project is $version"
launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "${metainfo[0]}")
[ -f "$root/usr/share/applications/$launchable" ] || fail "the AppStream data launches $launchable, which is not packaged"
# Every screenshot address ends in a picture kept in the repository, of the size it states.
grep -o '<image type="source" width="[0-9]*" height="[0-9]*">[^<]*' "${metainfo[0]}" >"$work/shots"
[ -s "$work/shots" ] || fail "the AppStream data has no screenshots"
while IFS= read -r line; do
  width=$(sed 's/.*width="\([0-9]*\)".*/\1/' <<<"$line")
  height=$(sed 's/.*height="\([0-9]*\)".*/\1/' <<<"$line")
  picture="$source/packaging/screenshots/${line##*/}"
  [ -f "$picture" ] || fail "no picture for the screenshot ${line##*>}"
  dims=$(od -An -tu1 -j16 -N8 "$picture" | awk '{print $3*256+$4 "x" $7*256+$8}')
  [ "$dims" = "${width}x${height}" ] || fail "${line##*/} is $dims, the AppStream data says ${width}x${height}"
done <"$work/shots"
mkdir -p "$work/mime/packages"
cp "$root"/usr/share/mime/packages/*.xml "$work/mime/packages/"
update-mime-database "$work/mime" >/dev/null 2>&1 || fail "update-mime-database refused the LRC type"
grep -qx '50:text/x-lrc:\*\.lrc' "$work/mime/globs2" || fail "*.lrc is not text/x-lrc: $(cat "$work/mime/globs2")"
grep -q '^MimeType=.*text/x-lrc;' "$root/usr/share/applications/versel.desktop" || fail "the Editor does not open text/x-lrc"

# the programs, as a user runs them -------------------------------------------------------
home="$work/home"
mkdir -p "$home/config" "$home/data/Lyrova/Lrc" "$home/cache" "$home/tmp" "$home/runtime" "$work/music"
chmod 700 "$home/runtime"
find "$root" -printf '%y %p\n' | sort >"$work/before"
run() {  # the unpacked program with the user's own folders and no display
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$home" XDG_CONFIG_HOME="$home/config" \
    XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache" XDG_RUNTIME_DIR="$home/runtime" TMPDIR="$home/tmp" \
    LC_ALL=C.UTF-8 timeout 30 "$@"
}

# The options of `--help` and of the man page, one a line: "--word", "-x" or "/WORD" switches.
help_options() {
  grep -oE '(^|[][ |,])(--?[a-z][a-z-]*|/[A-Z]+)' | sed 's/^[][ |,]//' | sort -u
}
man_options() {  # the items of the OPTIONS section
  zcat "$1" | sed 's/\\-/-/g' | awk '/^\.SH /{section=$2} section=="OPTIONS" && prev==".TP" && /^\.B/ {print} {prev=$0}' |
    grep -oE '(^|[ "])(--?[a-z][a-z-]*|/[A-Z]+)' | sed 's/^[ "]//' | sort -u
}
for command in lyrova versel scoutel lrctool; do
  out=$(run "$root/usr/bin/$command" --version) || fail "$command --version failed"
  program=$(basename "$(readlink "$root/usr/bin/$command")")
  [ "$out" = "$program $version" ] || fail "$command --version printed: $out"
  run "$root/usr/bin/$command" --help | help_options >"$work/help-$command" || fail "$command --help failed"
  man_options "$root/usr/share/man/man1/$command.1.gz" >"$work/man-$command"
  [ -s "$work/help-$command" ] || fail "$command --help names no options"
  diff -u "$work/man-$command" "$work/help-$command" >&2 ||
    fail "$command: the options of the man page (-) and of --help (+) differ"
done

# The song has no lyrics beside it; they are in the built-in folder of the user's data folder,
# where a system-wide install keeps the lists: found there only if the Player took its own
# folder for a shared one, from its real path behind the /usr/bin link.
cp "$song" "$work/music/song.wav"
printf '[00:00.30]第一行\r\n[00:01.00]second line\r\n' >"$home/data/Lyrova/Lrc/song.lrc"
: >"$home/data/Lyrova/LrcDir.ini"
out=$(run "$root/usr/bin/lyrova" --echo --quit-at-end "$work/music/song.wav" 2>"$work/player.err") ||
  fail "the packaged Player did not end with the song: $(cat "$work/player.err")"
expected=$'\n第一行\nsecond line'   # the empty line before the first time tag comes first
[ "$out" = "$expected" ] || fail "the packaged Player printed: $out ($(cat "$work/player.err"))"
run "$root/usr/bin/lrctool" dump "$home/data/Lyrova/Lrc/song.lrc" >/dev/null || fail "the packaged lrctool failed"

# Nothing new inside the unpacked tree, and every path there is one of the package's own, so
# that removing the package removes all of it.
find "$root" -printf '%y %p\n' | sort >"$work/after"
diff -u "$work/before" "$work/after" >&2 || fail "running the programs changed the installed tree"
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's:^\./::; s:/$::' | grep -v '^$' | sort -u >"$work/listed"
(cd "$root" && find . -mindepth 1 | sed 's:^\./::' | sort -u) >"$work/present"
extra=$(comm -13 "$work/listed" "$work/present")
[ -z "$extra" ] || fail "files that are not in the package's list: $extra"
echo "package $(basename "$deb"): ok"
