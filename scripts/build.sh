#!/usr/bin/env bash
# Configures and builds into build/ (or the folder given as first argument); further
# arguments go to cmake and override the default build type.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
shift || true
launcher=()
# A compiler cache, where one is installed, serves rebuilds and the second build of a test run.
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
cmake --build "$build" --parallel
