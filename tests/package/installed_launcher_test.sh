#!/usr/bin/env bash
# Starts an installed copy of the program through its launcher, the way a user's starts go:
#   installed_launcher_test.sh ROOT [--window]
# ROOT holds the installed tree (usr/bin/sorvenka …), unpacked from the package or staged with
# DESTDIR. The starts run headless (QT_QPA_PLATFORM=offscreen) in a temporary home. With
# --window a last start runs the menu entry's command under a virtual X server and waits for
# the main window, which appears only after the master checks have passed.
set -euo pipefail
root=$(cd "$1" && pwd)
window=${2:-}
launcher=$root/usr/bin/sorvenka
desktop=$root/usr/share/applications/io.github.sorvenka.Sorvenka.desktop
scratch=$(mktemp -d)
pid=
cleanup() {
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

export QT_QPA_PLATFORM=offscreen
unset SORVENKA_HOME SORVENKA_PROGRAM_FOLDER XDG_DATA_HOME
export HOME=$scratch/home
mkdir -p "$HOME"

# Starts the launcher, waits until the program has opened its database, and ends it. The
# program must still be running then: every start-up failure ends it or shows a message box.
start_and_end() { # working folder
    local log=$1/Valdrome/Valdrome_log.txt
    "$launcher" >"$scratch/output" 2>&1 &
    pid=$!
    for _ in $(seq 600); do
        grep -qs DBOpenDB "$log" && break
        kill -0 "$pid" 2>/dev/null || fail "ended before opening the database: $(cat "$scratch/output")"
        sleep 0.1
    done
    grep -qs DBOpenDB "$log" || fail "no DBOpenDB in $log"
    sleep 1
    kill -0 "$pid" 2>/dev/null || fail "ended after opening the database: $(cat "$scratch/output")"
    kill -9 "$pid"
    wait "$pid" 2>/dev/null || true
    pid=
}

# Every folder and file under a working folder with the checksum of its content, but the log.
snapshot() { # working folder
    (cd "$1" && find . -path ./Valdrome/Valdrome_log.txt -prune -o -print | sort |
        while read -r path; do
            if [ -f "$path" ]; then
                echo "$path $(sha256sum <"$path" | cut -c1-64)"
            else
                echo "$path"
            fi
        done)
}

# --- The windows loaded on first use lie beside the program, which starts without Qt Charts. ---
program_dir=$root/usr/libexec/sorvenka
for module in libsorvenka_sound.so libsorvenka_progress.so; do
    [ -f "$program_dir/$module" ] || fail "$module is not beside the program"
done
needed() { readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'; }
case $(needed "$program_dir/Valdrome") in *Charts*) fail "the program needs Qt Charts at start" ;; esac
case $(needed "$program_dir/libsorvenka_progress.so") in
    *libQt6Charts*) ;;
    *) fail "the progress module does not bring Qt Charts" ;;
esac

# --- First start: the default working folder is laid out with a first database. ---
home=$HOME/.local/share/sorvenka
start_and_end "$home"
expected="./Valdrome ./Valdrome/Valdrome.lock ./db ./db/exercise.sqlite3 ./db_backup ./htm
./htm/index.htm ./rec ./wav ./wav/start.wav"
actual=$(cd "$home" && find . -mindepth 1 -not -path './db_backup/*' -not -name Valdrome_log.txt |
    sort | tr '\n' ' ')
[ "$actual" = "$(echo $expected) " ] || fail "layout: $actual"
cmp -s "$home/htm/index.htm" "$root/usr/share/sorvenka/index.htm" || fail "index.htm differs"
cmp -s "$home/wav/start.wav" "$root/usr/share/sorvenka/start.wav" || fail "start.wav differs"
[ "$(stat -c %a "$home")" = 700 ] || fail "the working folder is open to others"
[ "$(head -c 15 "$home/db/exercise.sqlite3")" = "SQLite format 3" ] || fail "no database made"
backups=$(ls "$home/db_backup")
[ "$(echo "$backups" | wc -l)" = 1 ] || fail "backups after the first start: $backups"
# The backup is taken through the engine: the same contents, not the same bytes.
[ "$(sqlite3 "$home/db/exercise.sqlite3" .dump)" = "$(sqlite3 "$home/db_backup/$backups" .dump)" ] ||
    fail "the backup differs"
[ -z "$(ls -A "$home/db" | grep -v '^exercise.sqlite3$')" ] || fail "left over in db: $(ls -A "$home/db")"

# --- Second start: nothing changes but the log (and a new day's backup, past midnight). ---
day=$(date +%Y_%m%d)
before=$(snapshot "$home")
log_before=$(cat "$home/Valdrome/Valdrome_log.txt")
start_and_end "$home"
after=$(snapshot "$home")
if [ "$before" != "$after" ]; then
    changed=$(diff <(echo "$before") <(echo "$after") | grep '^[<>]' || true)
    if [ "$(date +%Y_%m%d)" = "$day" ] || ! echo "$changed" | grep -qv "^> ./db_backup/exercise_"; then
        fail "the second start changed: $changed"
    fi
fi
[ "$(cat "$home/Valdrome/Valdrome_log.txt")" != "" ] || fail "no log at the second start"
[ -n "$log_before" ] || fail "no log at the first start"

# --- A working folder the user made: existing folders and the database stay as they are. ---
own=$scratch/own
mkdir -p "$own/db" "$own/wav" "$own/htm"
cp "$home/db/exercise.sqlite3" "$own/db/exercise.sqlite3"
echo "my help" >"$own/htm/index.htm"
SORVENKA_HOME=$own start_and_end "$own"
cmp -s "$own/db/exercise.sqlite3" "$home/db/exercise.sqlite3" || fail "the own database changed"
[ "$(cat "$own/htm/index.htm")" = "my help" ] || fail "the own help page was replaced"
[ -z "$(ls -A "$own/wav")" ] || fail "a file was put into the existing wav folder"
for folder in Valdrome db_backup rec; do
    [ -d "$own/$folder" ] || fail "$folder not made in the own working folder"
done

# --- XDG_DATA_HOME names the base of the default working folder; a relative one is ignored. ---
XDG_DATA_HOME=$scratch/xdg start_and_end "$scratch/xdg/sorvenka"
XDG_DATA_HOME=relative/path start_and_end "$home"
[ ! -e relative ] || fail "a relative XDG_DATA_HOME was used"

# --- The menu entry's command under an X server: the main window appears. ---
if [ "$window" = --window ]; then
    command=$(sed -n 's/^Exec=//p' "$desktop")
    class=$(sed -n 's/^StartupWMClass=//p' "$desktop")
    [ -n "$command" ] && [ -n "$class" ] || fail "no Exec or StartupWMClass in $desktop"
    # Runs inside the X server: start, find the window by its class, read its caption.
    PATH=$root/usr/bin:$PATH QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1600x1000x24" \
        bash -c '
        '"$command"' >/dev/null 2>&1 &
        program=$!
        id=$(timeout 60 xdotool search --sync --onlyvisible --class "$1" | head -n 1) || true
        title=$( [ -n "$id" ] && xdotool getwindowname "$id" || true)
        kill -9 $program 2>/dev/null
        wait $program 2>/dev/null
        echo "$title" >"$2"' \
        sh "$class" "$scratch/title"
    title=$(cat "$scratch/title")
    case $title in
    Sorvenka*) echo "main window: $title" ;;
    *) fail "no main window of class $class (caption: '$title')" ;;
    esac
fi
echo "installed launcher: all checks passed"
