#!/usr/bin/env bash
# Start-up time of Tabbern against plain Qt programs, measured in one run.
#
#   bench/startup-ratio.sh [BUILD_DIR]        (BUILD_DIR defaults to ./build)
#
# Both programs run on the offscreen platform with TABBERN_EXIT_WHEN_SHOWN set, so each one
# ends right after its window's first paint: a run's time is from process start to the window
# shown, plus the exit. Tabbern starts in a temporary XDG_DATA_HOME on the fullest store that
# starts unattended: 999 bookmarks in 199 groups (at 1000 bookmarks or 200 groups every start
# stops at a limit message that waits for the user before the main window appears).
# tabbern_bare_window shows one empty window, or one with a line of text. tabbern_same_widgets
# shows the widgets of Tabbern's main window with the same texts, picture and places, without
# Tabbern's code: what Qt itself costs for that window, so its ratio is Tabbern's own cost. The
# programs run alternately, RUNS times each, timed by hyperfine when it is installed (Debian
# package hyperfine) and by date +%s%N otherwise. The script prints the medians and the ratios
# and fails when the ratio to the same widgets exceeds MAX_RATIO.
#
# Environment: RUNS (default 40), WARMUP (default 3), MAX_RATIO (default 1.15); KEEP_TMP=1
# keeps the temporary folder, to profile a single start on the same store.
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$repo/build}" && pwd)"
runs="${RUNS:-40}"
warmup="${WARMUP:-3}"
max_ratio="${MAX_RATIO:-1.15}"

tabbern="$build/tabbern"
bare="$build/bench/tabbern_bare_window"
same="$build/bench/tabbern_same_widgets"
for program in "$tabbern" "$bare" "$same"; do
    if [ ! -x "$program" ]; then
        echo "missing $program: build the targets tabbern, tabbern_bare_window and" \
            "tabbern_same_widgets first" >&2
        exit 2
    fi
done
if [ -e "$build/tabbern.cfg" ]; then
    echo "$build/tabbern.cfg makes the build folder a portable copy; remove it first" >&2
    exit 2
fi

# The data files' header line names the product host the build was configured with.
host="$(sed -n 's/^TABBERN_PRODUCT_HOST:STRING=//p' "$build/CMakeCache.txt" 2>/dev/null || true)"
host="${host:-www.tabbern.example}"

tmp="$(mktemp -d)"
if [ -n "${KEEP_TMP:-}" ]; then
    echo "store and XDG folders kept in $tmp"
else
    trap 'rm -rf "$tmp"' EXIT
fi
export XDG_DATA_HOME="$tmp/data" XDG_CONFIG_HOME="$tmp/config" XDG_RUNTIME_DIR="$tmp/runtime"
export QT_QPA_PLATFORM=offscreen TABBERN_EXIT_WHEN_SHOWN=1
mkdir -p "$XDG_DATA_HOME/tabbern" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
folder="$XDG_DATA_HOME/tabbern"

# The store as the program writes it: CR LF lines, a header, then one line per bookmark; names,
# URLs and dates follow different orders, every fifth bookmark was never opened.
records=999
groups=199
header="[ $host - Tabbern - Manage your Bookmarks and Favorite websites with any web browser - $host ]"
awk -v header="$header" -v records=$records -v groups=$groups 'BEGIN {
    ORS = "\r\n"
    print header
    for (i = 0; i < records; i++) {
        added = (i * 7 % 12 + 1) "/" (i * 13 % 28 + 1) "/2025"
        accessed = i % 5 == 0 ? "" : (i * 11 % 12 + 1) "/" (i % 28 + 1) "/2026"
        print "[r]" i "[n]Bookmark number " (i * 7919 % 1000) "[g]Group " (i % groups) \
              "[d]" added "[l]" accessed "[u]https://www.site" (i * 337 % 1000) \
              ".example/some/path?q=" i
    }
}' >"$folder/tabbern.dat"
awk -v header="$header" -v groups=$groups 'BEGIN {
    ORS = "\r\n"
    print header
    for (g = 0; g < groups; g++)
        print "Group " g
}' >"$folder/tabbern.grp"
# Repeated starts are not stopped by the already-running question.
: >"$folder/tabbern.ign"

# The same bare window with one line of text: the part of the start-up that any window with a
# word on it pays (reading the desktop's font configuration) is then on both sides.
bare_text="$tmp/bare-with-text"
printf '#!/bin/sh\nTABBERN_BARE_WITH_TEXT=1 exec "%s"\n' "$bare" >"$bare_text"
chmod +x "$bare_text"

# The texts of the main window that come from the store, read from the store as generated, for
# tabbern_same_widgets: the list's names in the file's order, the selector's entries (All Groups,
# then the group names in byte order), and the details of the first bookmark, which start-up
# selects.
export TABBERN_SAME_WIDGETS_TEXTS="$tmp/same-widgets.txt"
{
    awk 'BEGIN { RS = "\r\n" }
    NR > 1 && split($0, f, /\[[rngdlu]\]/) == 7 {
        print "row " f[3]
        if (!first++) {
            print "caption lblWhatGroup " f[4]
            print "caption lblDateAccessed  " f[6] " "
            print "caption LabelShowURLAddress " f[7] " "
        }
    }' "$folder/tabbern.dat"
    echo "caption lblAltDatapath    $folder "
    echo "entry All Groups"
    awk 'BEGIN { RS = "\r\n" } NR > 1 && NF { sub(/^ +/, ""); sub(/ +$/, ""); print "entry " $0 }' \
        "$folder/tabbern.grp" | LC_ALL=C sort
} >"$TABBERN_SAME_WIDGETS_TEXTS"
if [ "$(grep -c '^row ' "$TABBERN_SAME_WIDGETS_TEXTS")" != $records ] ||
    [ "$(grep -c '^entry ' "$TABBERN_SAME_WIDGETS_TEXTS")" != $((groups + 1)) ]; then
    echo "the texts for tabbern_same_widgets do not match the store" >&2
    exit 1
fi

# One start of each, outside the measurement: it writes the settings file and proves that the
# programs end by themselves and that the store was taken as it is.
before="$(cat "$folder/tabbern.dat" "$folder/tabbern.grp" | cksum)"
for program in "$tabbern" "$bare" "$bare_text" "$same"; do
    if ! timeout 30 "$program" >/dev/null 2>&1; then
        echo "$program did not start and end cleanly with TABBERN_EXIT_WHEN_SHOWN set" >&2
        exit 1
    fi
done
if [ "$before" != "$(cat "$folder/tabbern.dat" "$folder/tabbern.grp" | cksum)" ]; then
    echo "tabbern rewrote the store at start-up: check the header line's host ($host)" >&2
    exit 1
fi

failed() {
    echo "$1 failed during the measurement" >&2
    exit 1
}
# Prints one run's wall time in microseconds.
if command -v hyperfine >/dev/null 2>&1; then
    timer="hyperfine"
    time_once() {
        hyperfine --shell=none --runs 1 --style none --export-csv "$tmp/run.csv" \
            --output null "$1" >/dev/null 2>&1 || failed "$1"
        # Columns: command,mean,stddev,median,user,system,min,max; times in seconds.
        awk -F, 'NR == 2 { printf "%d\n", $4 * 1000000 }' "$tmp/run.csv"
    }
else
    timer="date +%s%N"
    time_once() {
        local start end
        start=$(date +%s%N)
        "$1" >/dev/null 2>&1 || failed "$1"
        end=$(date +%s%N)
        echo $(((end - start) / 1000))
    }
fi

for ((i = 0; i < warmup; i++)); do
    time_once "$tabbern" >/dev/null
    time_once "$bare" >/dev/null
    time_once "$bare_text" >/dev/null
    time_once "$same" >/dev/null
done
: >"$tmp/tabbern.us"
: >"$tmp/bare.us"
: >"$tmp/bare-text.us"
: >"$tmp/same.us"
for ((i = 0; i < runs; i++)); do
    # Alternate which program goes first, so that neither always follows the other.
    if ((i % 2 == 0)); then
        time_once "$tabbern" >>"$tmp/tabbern.us"
        time_once "$same" >>"$tmp/same.us"
        time_once "$bare" >>"$tmp/bare.us"
        time_once "$bare_text" >>"$tmp/bare-text.us"
    else
        time_once "$bare_text" >>"$tmp/bare-text.us"
        time_once "$bare" >>"$tmp/bare.us"
        time_once "$same" >>"$tmp/same.us"
        time_once "$tabbern" >>"$tmp/tabbern.us"
    fi
done

median() {
    sort -n "$1" | awk '{ v[NR] = $1 } END {
        if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
tabbern_median="$(median "$tmp/tabbern.us")"
bare_median="$(median "$tmp/bare.us")"
bare_text_median="$(median "$tmp/bare-text.us")"
same_median="$(median "$tmp/same.us")"

awk -v t="$tabbern_median" -v b="$bare_median" -v bt="$bare_text_median" -v s="$same_median" \
    -v runs="$runs" -v timer="$timer" -v max="$max_ratio" -v records=$records \
    -v groups=$groups 'BEGIN {
    ratio = t / s
    printf "start-up to first paint, median of %d runs each (timed by %s)\n", runs, timer
    printf "  bare Qt window:           %7.1f ms\n", b / 1000
    printf "  bare Qt window with text: %7.1f ms\n", bt / 1000
    printf "  main window in plain Qt:  %7.1f ms\n", s / 1000
    printf "  tabbern:                  %7.1f ms (%d bookmarks in %d groups)\n", t / 1000,
           records, groups
    printf "  ratio to the bare window:   %.2f\n", t / b
    printf "  ratio to the one with text: %.2f\n", t / bt
    printf "  ratio to the same widgets:  %.2f (limit %s)\n", ratio, max
    if (ratio > max) {
        print "FAILED: tabbern starts more than " max " times as slowly as the same widgets" \
              " in plain Qt"
        exit 1
    }
}'
