#!/usr/bin/env bash
# Installs what is missing and builds the Debian package into build-package/:
#   build-package/sorvenka_<version>_<arch>.deb, installed with
#   sudo apt-get install ./build-package/sorvenka_*.deb
# It packs the run command's build (build/, the same configuration), so after
# scripts/run.sh nothing is compiled again.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
out="$root/build-package"
"$root/scripts/deps.sh" package
"$root/scripts/build.sh" "$build" -DSORVENKA_TESTS=OFF -DSORVENKA_SANITIZE=OFF
mkdir -p "$out"
rm -f "$out"/sorvenka_*.deb
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
ls "$out"/sorvenka_*.deb
