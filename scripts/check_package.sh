#!/usr/bin/env bash
# Builds the Debian package and checks it: the menu entry, the metainfo, lintian (no errors),
# and the launcher of the unpacked package started headless and under a virtual X server.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
deb=$("$root/scripts/package.sh" | tail -n 1)
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
desktop-file-validate "$unpacked"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$unpacked"/usr/share/metainfo/*.metainfo.xml
if ! report=$(lintian --fail-on error "$deb" 2>&1); then
    echo "$report"
    exit 1
fi
echo "$report" | grep -v 'running with root privileges' || true
bash "$root/tests/package/installed_launcher_test.sh" "$unpacked" --window
echo "Checked $deb"
