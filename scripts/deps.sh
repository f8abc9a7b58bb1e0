#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need, when missing.
set -euo pipefail
packages=(
  build-essential cmake ninja-build
  qt6-base-dev qt6-multimedia-dev libqt6multimedia6 gstreamer1.0-plugins-base
  qt6-charts-dev libqt6charts6
  qt6-translations-l10n
  libsqlite3-dev sqlite3
  libcsv-dev libfontconfig-dev
  libgtest-dev googletest
  fonts-ipafont-gothic
  xvfb xdotool
  # The icon, the Debian package and its checks (test command)
  librsvg2-bin dpkg-dev fakeroot file lintian desktop-file-utils appstream xauth
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q "${missing[@]}"
fi
