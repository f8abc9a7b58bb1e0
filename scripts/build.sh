#!/usr/bin/env bash
# Configures and builds into build/ (or the folder given as first argument); further
# arguments go to cmake and override the default build type.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
shift || true
launcher=()
# A compiler cache, where one is installed, serves rebuilds and later test runs. Paths below
# the project count relative to it and the build folder is left out of the key, so a clone
# in another folder hits the same entries; the tests' precompiled headers need the sloppiness.
# A folder configured without it keeps its compile lines: the package packs the run command's
# build/, made before the test set installed the cache, without compiling it again.
cache="$build/CMakeCache.txt"
if command -v ccache >/dev/null &&
  { [ ! -f "$cache" ] || grep -q '^CMAKE_CXX_COMPILER_LAUNCHER:.*ccache' "$cache"; }; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
  export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
fi
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
cmake --build "$build" --parallel
