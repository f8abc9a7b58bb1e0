#!/usr/bin/env bash
# The launcher of an installed tree at its edges, through commands that need no window:
#   launcher_edges_test.sh ROOT
# ROOT holds the installed tree (usr/bin/sorvenka …). Every run has a clean environment: no
# display, and HOME, XDG_DATA_HOME and SORVENKA_HOME only where a case sets them.
set -euo pipefail
root=$(cd "$1" && pwd)
launcher=$root/usr/bin/sorvenka
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Runs the launcher in $scratch/cwd with only the variables given; status, out and err kept.
launch() { # VAR=value ... -- arguments
    local env=(PATH=/usr/bin:/bin)
    while [ "$1" != -- ]; do
        env+=("$1")
        shift
    done
    shift
    status=0
    (cd "$scratch/cwd" && env -i "${env[@]}" "$launcher" "$@" >"$scratch/out" 2>"$scratch/err") ||
        status=$?
}
fresh() {
    rm -rf "$scratch/cwd"
    mkdir -p "$scratch/cwd"
}

# --- --help and --version: status 0, printed, nothing made, no HOME and no display needed. ---
for word in --help --version; do
    fresh
    launch -- "$word"
    [ "$status" = 0 ] || fail "$word: status $status: $(cat "$scratch/err")"
    [ -s "$scratch/out" ] || fail "$word printed nothing"
    [ -z "$(ls -A "$scratch/cwd")" ] || fail "$word made $(ls -A "$scratch/cwd")"
done
launch -- --help
grep -q '^  sorvenka --import-csv' "$scratch/out" || fail "the help names no sorvenka command"

# --- Neither a folder nor a home: refused with a reason. ---
fresh
launch -- --export-csv out.csv
[ "$status" = 1 ] || fail "no home: status $status"
grep -q 'HOME' "$scratch/err" || fail "no home: $(cat "$scratch/err")"

# --- A named folder needs no HOME; a name starting with - is a folder, not an option. ---
for name in -v --x; do
    fresh
    launch SORVENKA_HOME="$name" -- --export-csv out.csv
    [ "$status" = 0 ] || fail "SORVENKA_HOME=$name: status $status: $(cat "$scratch/err")"
    [ -s "$scratch/cwd/$name/db/exercise.sqlite3" ] || fail "SORVENKA_HOME=$name: no database"
    [ -s "$scratch/cwd/out.csv" ] || fail "SORVENKA_HOME=$name: no export"
    [ ! -s "$scratch/err" ] || fail "SORVENKA_HOME=$name: $(cat "$scratch/err")"
done

# --- An empty database file is no database; a database with content is never replaced. ---
home=$scratch/home
first_db() {
    rm -rf "$home"
    mkdir -p "$home/db"
}
first_db
: >"$home/db/exercise.sqlite3"
fresh
launch SORVENKA_HOME="$home" -- --export-csv out.csv
[ "$status" = 0 ] || fail "empty database: status $status: $(cat "$scratch/err")"
[ "$(head -c 15 "$home/db/exercise.sqlite3")" = "SQLite format 3" ] || fail "empty database kept"
[ -z "$(ls -A "$home/db" | grep -v '^exercise.sqlite3$')" ] || fail "left in db: $(ls -A "$home/db")"
cp "$home/db/exercise.sqlite3" "$scratch/with_content"
sqlite3 "$scratch/with_content" "insert into t_exer (ymd, grp_cd, exer_cd, set_num) values ('2024/05/01', '01', '01', 1);"
cp "$scratch/with_content" "$home/db/exercise.sqlite3"
launch SORVENKA_HOME="$home" -- --export-csv out.csv
cmp -s "$scratch/with_content" "$home/db/exercise.sqlite3" || fail "a database with content changed"
# An empty file whose journal holds the content stays as it is.
first_db
: >"$home/db/exercise.sqlite3"
echo "journal" >"$home/db/exercise.sqlite3-wal"
launch SORVENKA_HOME="$home" -- --version
launch SORVENKA_HOME="$home" -- --export-csv out.csv
[ ! -s "$home/db/exercise.sqlite3" ] || fail "an empty file with a journal was replaced"

# --- Launchers racing on a new folder: one layout, one database, no word from the launcher. ---
fresh
race=$scratch/race
pids=()
for i in $(seq 8); do
    (cd "$scratch/cwd" && env -i PATH=/usr/bin:/bin SORVENKA_HOME="$race" "$launcher" \
        --export-csv "out$i.csv" >"$scratch/race_out$i" 2>"$scratch/race_err$i") &
    pids+=($!)
done
for pid in "${pids[@]}"; do wait "$pid" || true; done
for i in $(seq 8); do
    # The program may refuse a second command while one runs; the launcher itself says nothing.
    if grep -v 'ほかのコマンドが実行中です。' "$scratch/race_err$i" | grep -q .; then
        fail "racing launcher $i: $(cat "$scratch/race_err$i")"
    fi
done
[ "$(head -c 15 "$race/db/exercise.sqlite3")" = "SQLite format 3" ] || fail "race: no database"
[ -z "$(ls -A "$race/db" | grep -v '^exercise.sqlite3$')" ] || fail "race left: $(ls -A "$race/db")"
[ -z "$(ls -A "$race" | grep -v -x -e Valdrome -e db -e db_backup -e rec -e wav -e htm)" ] ||
    fail "race left: $(ls -A "$race")"
[ -f "$race/wav/start.wav" ] && [ -f "$race/htm/index.htm" ] || fail "race: shipped files missing"
echo "launcher edges: all checks passed"
