#!/usr/bin/env bash
# Installs the Debian 12 packages of one set, when missing:
#   deps.sh run       building and running the program (scripts/run.sh)
#   deps.sh package   the above and what builds the Debian package (scripts/package.sh)
#   deps.sh test      everything: the above, the tests, the virtual X server and the package
#                     checks (scripts/test.sh; the default)
set -euo pipefail
set_name=${1:-test}
run=(
  build-essential cmake ninja-build
  qt6-base-dev qt6-multimedia-dev libqt6multimedia6 gstreamer1.0-plugins-base
  qt6-charts-dev libqt6charts6
  # Qt's own Japanese texts: message-box buttons and file dialogs.
  qt6-translations-l10n
  libsqlite3-dev libcsv-dev libfontconfig-dev libpng-dev
  fonts-ipafont-gothic
  # The icon is rendered from its SVG at build time.
  librsvg2-bin
)
package=(dpkg-dev fakeroot file)
test=(
  libgtest-dev googletest sqlite3
  # The test build: a compiler cache across runs and a faster linker for the test programs.
  ccache mold
  xvfb xdotool xauth
  lintian desktop-file-utils appstream
)
case $set_name in
run) packages=("${run[@]}") ;;
package) packages=("${run[@]}" "${package[@]}") ;;
test) packages=("${run[@]}" "${package[@]}" "${test[@]}") ;;
*)
  echo "usage: $0 [run|package|test]" >&2
  exit 2
  ;;
esac
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
