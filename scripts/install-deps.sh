#!/usr/bin/env bash
# Installs every Debian package the suite needs to build, run and test. Safe to run again:
# when everything is present it returns without touching apt.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  libmpv-dev mpv mpv-mpris playerctl
  dbus-daemon dbus-bin
  libbenchmark-dev
  clang libclang-rt-dev
  fonts-noto-cjk fonts-wqy-zenhei
  xvfb xauth libxcb1-dev xdotool
  ffmpeg sox python3
  g++-mingw-w64-x86-64 wine wine64
  dpkg-dev fakeroot lintian desktop-file-utils librsvg2-bin appstream shared-mime-info
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
