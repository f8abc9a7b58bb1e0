#!/usr/bin/env bash
# Installs what is missing, builds the program and the first-database tool (no tests), and
# starts the program through its launcher, which lays out the working folder with a first
# database when there is none. The working folder is work/ in the project, or $SORVENKA_HOME:
#   Valdrome/   the log of the current run and the lock against a second start
#   db/         exercise.sqlite3, your data: made once, never replaced
#   db_backup/  daily copies (the newest 20 stay)
#   rec/        exported lists
#   wav/ htm/   the sound played after an export and the help page
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
export SORVENKA_HOME="${SORVENKA_HOME:-$root/work}"
"$root/scripts/deps.sh" run
"$root/scripts/build.sh" "$build" -DSORVENKA_TESTS=OFF -DSORVENKA_SANITIZE=OFF
# The launcher finds the program and the shipped files beside itself, as when installed.
cmake --install "$build" --prefix "$build/stage" >/dev/null
echo "Working folder: $SORVENKA_HOME"
exec "$build/stage/bin/sorvenka"
