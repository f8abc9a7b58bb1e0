#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once as a normal build and once
# under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh" test
"$root/scripts/build.sh" "$root/build-test" -DCMAKE_BUILD_TYPE=Debug
(cd "$root/build-test" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600 -j2)
"$root/scripts/build.sh" "$root/build-sanitize" -DSORVENKA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
(cd "$root/build-sanitize" && QT_QPA_PLATFORM=offscreen \
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --output-on-failure --timeout 600 -j2)
# The Debian package: built, validated and started from its unpacked tree.
"$root/scripts/check_package.sh"
