#!/usr/bin/env bash
# Installs what is missing and builds the Debian package into build-package/:
#   build-package/sorvenka_<version>_<arch>.deb, installed with
#   sudo apt-get install ./build-package/sorvenka_*.deb
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-package"
"$root/scripts/deps.sh" package
"$root/scripts/build.sh" "$build" -DSORVENKA_TESTS=OFF
rm -f "$build"/sorvenka_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/sorvenka_*.deb
