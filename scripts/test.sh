#!/usr/bin/env bash
# Installs what is missing, builds once under AddressSanitizer and UndefinedBehaviorSanitizer
# and runs every test there, then builds the Debian package and checks it. Each stage's time
# is printed after it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
timed() {
  local stage=$1 start=$SECONDS
  shift
  "$@"
  echo "== $stage: $((SECONDS - start)) s"
}
timed dependencies "$root/scripts/deps.sh" test
# The benchmarks are not tests: they are built in a folder of their own (README, Benchmarks).
# Line tables only (-g1): a sanitizer's report still names functions, files and lines, and the
# compiler writes a fraction of the debug information.
# The libraries compile in batches (unity build): this build starts cold on a fresh machine.
timed build "$root/scripts/build.sh" "$root/build-sanitize" -DSORVENKA_SANITIZE=ON \
  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DSORVENKA_BENCH=OFF -DSORVENKA_UNITY=ON
# Twice as many tests as cores: several wait out a lock's bounded wait of seconds, idle.
jobs=$(($(nproc) * 2))
run_tests() (
  cd "$root/build-sanitize"
  QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --output-on-failure --timeout 600 -j"$jobs"
)
timed tests run_tests
# The Debian package: built, validated and started from its unpacked tree.
timed package "$root/scripts/check_package.sh"
