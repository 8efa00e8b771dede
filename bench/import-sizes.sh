#!/usr/bin/env bash
# Import From A Text File through the real window, as a user does it, for pages of every size,
# in one run: on a virtual X display the program is started on an empty store, Alt+S and Enter
# open the file dialog, the file's path is typed, and the time runs from the Enter in the file
# dialog until the confirmation window (or a message) is shown. The program's peak memory is
# its VmHWM once the window is there. The pages:
#   one link      a small page with a single link (the yardstick)
#   20 MB         documentation pages from this machine, in many lines and on one line
#   630 MB        the same pages repeated, in many lines
#   2 GB          the same pages repeated on one line, their blanks taken out (a line too long
#                 to hold: answered by a message; with its blanks such a line is read a piece at
#                 a time)
#
#   bench/import-sizes.sh [BUILD_DIR] [--quick]
#
# BUILD_DIR is a build folder with the GUI (default: build); its tabbern is built when missing.
# --quick leaves out the 630 MB and 2 GB files. RUNS (default 5) imports per file; the median
# counts. Needs Xvfb and xdotool. The files go to a temporary folder and are removed at the end.
# bench/QtViewBench.cpp's BM_Qt_TextImportToConfirmation times the same command offscreen,
# without the file dialog, for profiling (TABBERN_IMPORT_FILE names the file).
set -euo pipefail

build="${1:-build}"
quick=0
[ "${2:-}" = "--quick" ] && quick=1
program="$build/tabbern"
[ -x "$program" ] || cmake --build "$build" --target tabbern >/dev/null
runs="${RUNS:-5}"
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 2; }
done

work="$(mktemp -d)"
xvfb=""
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
for n in $(seq 140 180); do
    if [ ! -e "/tmp/.X$n-lock" ]; then
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb=$!
        export DISPLAY=":$n"
        break
    fi
done
for _ in $(seq 50); do
    xdotool getmouselocation >/dev/null 2>&1 && break
    sleep 0.1
done
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

# Documentation HTML installed on this machine, concatenated to at least 20 MB.
mapfile -t pages < <(find /usr/share/doc -type f -name '*.html' -size +1k 2>/dev/null | sort)
if [ "${#pages[@]}" = 0 ]; then
    echo "no HTML documentation under /usr/share/doc to build pages from" >&2
    exit 1
fi
: >"$work/lines-20MB.html"
while [ "$(stat -c %s "$work/lines-20MB.html")" -lt $((20 << 20)) ]; do
    cat "${pages[@]}" >>"$work/lines-20MB.html"
done
truncate -s $((20 << 20)) "$work/lines-20MB.html"
tr -d '\r\n' <"$work/lines-20MB.html" >"$work/one-line-20MB.html"
printf '<html><body><a href="https://one.example/page">one</a></body></html>\n' \
    >"$work/one-link.html"

files=(one-link.html lines-20MB.html one-line-20MB.html)
# Repeats a page until the file has that many MB. head ends the repeating early: the broken
# pipe that follows is expected, not a failure.
repeat_to() {
    for _ in $(seq $((($3 << 20) / $(stat -c %s "$work/$1") + 1))); do cat "$work/$1"; done |
        head -c $(($3 << 20)) \
        >"$work/$2" || true
    [ "$(stat -c %s "$work/$2")" -eq $(($3 << 20)) ] || { echo "could not write $2" >&2; exit 1; }
}
if [ "$quick" = 0 ]; then
    repeat_to lines-20MB.html lines-630MB.html 630
    tr -d ' ' <"$work/one-line-20MB.html" >"$work/one-word-20MB.html"
    repeat_to one-word-20MB.html one-line-2GB.html 2048
    files+=(lines-630MB.html one-line-2GB.html)
fi

# Prints the id of the visible window of the process whose title matches, waiting at most the
# given number of seconds.
wait_for() {
    local end=$((SECONDS + $3)) w
    while [ "$SECONDS" -lt "$end" ]; do
        w=$(xdotool search --all --onlyvisible --pid "$1" --name "$2" 2>/dev/null | head -n 1 || true)
        [ -n "$w" ] && { echo "$w"; return 0; }
        sleep 0.1
    done
    return 1
}

# One import of the file: prints the milliseconds from the Enter in the file dialog to the
# next window shown, that window's title, and the program's peak memory in MB.
import_once() {
    export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"
    rm -rf "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"
    "$program" &
    local pid=$! main shown="" t0 t1 peak
    main=$(xdotool search --sync --onlyvisible --pid "$pid" | head -n 1)
    # Keys typed before a window is ready are lost: each step waits for the window it opens.
    local dialog=""
    for _ in $(seq 100); do
        xdotool windowfocus --sync "$main" key alt+s
        sleep 0.3
        xdotool key Return # the first item: Import From A Text File
        dialog=$(wait_for "$pid" "^Open\$" 5) && break
        xdotool key Escape Escape
    done
    [ -n "$dialog" ] || { echo "0 no_file_dialog 0"; kill "$pid"; return; }
    # Typing can reach the dialog before its box has the focus: while the dialog is still there
    # a second after Enter, the path is typed again and the clock starts again.
    local tries=0 typed=0
    local end=$((SECONDS + 300))
    while [ -z "$shown" ] && [ "$SECONDS" -lt "$end" ]; do
        if [ "$typed" = 0 ] || { [ $(($(date +%s%N) - t0)) -gt 1500000000 ] &&
            [ "$tries" -lt 10 ] && xdotool search --all --onlyvisible --pid "$pid" --name "^Open\$" \
            >/dev/null 2>&1; }; then
            xdotool windowfocus --sync "$dialog"
            sleep 0.5
            xdotool key ctrl+a
            xdotool type --delay 12 "$work/$1"
            sleep 0.2
            t0=$(date +%s%N)
            xdotool key Return
            typed=1 tries=$((tries + 1))
        fi
        # One search a round, so that the clock is read soon after the window is there.
        w=$(xdotool search --all --onlyvisible --pid "$pid" \
            --name '^(Confirm Import|Tabbern [0-9].*)$' 2>/dev/null | head -n 1 || true)
        [ -n "$w" ] && t1=$(date +%s%N) && shown=$(xdotool getwindowname "$w")
    done
    [ -n "$shown" ] || t1=$(date +%s%N)
    peak=$(awk '/VmHWM/ { printf "%.0f", $2 / 1024 }' "/proc/$pid/status")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    [ -n "$shown" ] || shown=no_window_in_300_s
    echo "$(((t1 - t0) / 1000000)) ${shown// /_} $peak"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

printf '%-20s %8s %8s %10s  %s\n' file size-MB ms peak-MB shown
base=""
for f in "${files[@]}"; do
    times=() shown="" peak=0
    for _ in $(seq "$runs"); do
        read -r ms shown p < <(import_once "$f")
        times+=("$ms")
        [ "$p" -gt "$peak" ] && peak=$p
    done
    ms=$(printf '%s\n' "${times[@]}" | median)
    size=$(($(stat -c %s "$work/$f") >> 20))
    printf '%-20s %8s %8s %10s  %s\n' "$f" "$size" "$ms" "$peak" "${shown//_/ }"
    if [ -z "$base" ]; then
        base=$ms
    else
        awk -v t="$ms" -v b="$base" -v f="$f" \
            'BEGIN { printf "  ratio of %s to the one-link page: %.2f\n", f, t / b }'
    fi
done
