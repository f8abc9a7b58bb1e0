#!/usr/bin/env bash
# Installs what is missing, builds, lays out the working folder and starts the program.
# The working folder (default: work/ in the project, or $SORVENKA_HOME) holds
#   Valdrome/   the program, its log
#   db/         exercise.sqlite3, your data: created once, never overwritten
#   db_backup/  daily copies (the newest 20 stay)
#   rec/        exported lists
#   wav/ htm/   the sound played after an export and the help page
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
home="${SORVENKA_HOME:-$root/work}"
"$root/scripts/deps.sh"
"$root/scripts/build.sh" "$root/build"
mkdir -p "$home/Valdrome" "$home/db" "$home/db_backup" "$home/rec" "$home/wav" "$home/htm"
install -m 755 "$root/build/Valdrome" "$home/Valdrome/Valdrome"
install -m 644 "$root/build/libsorvenka_sound.so" "$home/Valdrome/libsorvenka_sound.so"
[ -f "$home/db/exercise.sqlite3" ] || "$root/build/make_first_db" "$home/db/exercise.sqlite3"
[ -f "$home/wav/start.wav" ] || cp "$root/data/start.wav" "$home/wav/start.wav"
[ -f "$home/htm/index.htm" ] || cp "$root/data/index.htm" "$home/htm/index.htm"
echo "Working folder: $home"
exec "$home/Valdrome/Valdrome"
