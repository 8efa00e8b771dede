#!/usr/bin/env bash
# Times the link harvester against ripgrep on the same web pages, in one run, and prints the
# ratios. Two kinds of page, each in many lines and on one line (as minified pages are):
#   real   documentation HTML installed on this machine (/usr/share/doc), mostly text and
#          relative links: a stand-in for the pages people save and import;
#   dense  the generated page of bench/HarvestPage.h, a link every hundred bytes or so.
# Then the linearity: the one-line pages at a quarter of the size against the full size.
#
#   bench/harvest-vs-ripgrep.sh [BUILD_DIR] [MEGABYTES] [RUNS]
#
# BUILD_DIR is a configured build folder (default: build); the targets tabbern_harvest and
# make-page are built there when missing. Each program runs RUNS times (default 7) per page,
# writing its links to a file; the best time counts. A ratio below 1 means the harvester was
# faster. Without rg on the PATH the ripgrep part is skipped.
set -euo pipefail

build="${1:-build}"
megabytes="${2:-20}"
runs="${3:-7}"
harvest="$build/bench/tabbern_harvest"
make_page="$build/bench/make-page"
pattern='https://[^ ]*|http://[^ ]*|www[^ ]*'
docs=/usr/share/doc

if [ ! -x "$harvest" ] || [ ! -x "$make_page" ]; then
    cmake --build "$build" --target tabbern_harvest make-page >/dev/null
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The best wall time of a command over the runs, in microseconds; its output goes to a file,
# not to /dev/null, which some programs treat as a reason to stop early.
best_time() {
    local best="" start end took
    for _ in $(seq "$runs"); do
        start=$(date +%s%N)
        "$@" >"$work/out.txt"
        end=$(date +%s%N)
        took=$(((end - start) / 1000))
        if [ -z "$best" ] || [ "$took" -lt "$best" ]; then
            best=$took
        fi
    done
    echo "$best"
}

# The same for the processor time (user and system) the command takes, which other work on the
# machine does not stretch as it does the wall time.
best_cpu() {
    local best="" took
    for _ in $(seq "$runs"); do
        took=$({
            TIMEFORMAT='%3U %3S'
            time "$@" >"$work/out.txt" 2>/dev/null
        } 2>&1 | awk '{ printf "%d", ($1 + $2) * 1000000 }')
        if [ -z "$best" ] || [ "$took" -lt "$best" ]; then
            best=$took
        fi
    done
    echo "$best"
}

ms() { awk -v us="$1" 'BEGIN { printf "%.1f ms", us / 1000 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# The installed documentation pages, whole, in path order, until the page has `bytes`; pages in
# another encoding than UTF-8 (old ones are in Latin-1) are converted first, as a browser
# reads them by their declared charset, so that the whole page is valid UTF-8 as a saved page
# is. When too little is installed, what there is is used again.
make_real_page() {
    local bytes="$1" out="$2" size=0 rounds=0 file
    mapfile -t pages < <(find "$docs" -name '*.html' -type f 2>/dev/null | LC_ALL=C sort)
    if [ "${#pages[@]}" -eq 0 ]; then
        return 1
    fi
    : >"$out"
    while [ "$size" -lt "$bytes" ]; do
        rounds=$((rounds + 1))
        for file in "${pages[@]}"; do
            if ! iconv -f UTF-8 -t UTF-8 "$file" >>"$out" 2>/dev/null; then
                # iconv stops at the first bad byte, after writing what came before it.
                truncate -s "$size" "$out"
                iconv -f ISO-8859-1 -t UTF-8 "$file" >>"$out"
            fi
            size=$(stat -c %s "$out")
            if [ "$size" -ge "$bytes" ]; then
                break
            fi
        done
    done
    if [ "$rounds" -gt 1 ]; then
        echo "note: only $(((size / rounds) / 1024)) KB of HTML in $docs, used $rounds times"
    fi
    # Cut at the size, then back to the last whole line: no character is cut in two.
    head -c "$bytes" "$out" | sed '$d' >"$work/cut" && mv "$work/cut" "$out"
}

# The same page on one line: each line end becomes a blank, so the links stay the same.
one_line() { tr '\r\n' '  ' <"$1" >"$2"; }

have_rg=1
if ! command -v rg >/dev/null 2>&1; then
    have_rg=0
    echo "rg (ripgrep) is not installed: timing the harvester alone (Debian: apt-get install ripgrep)"
fi

bytes=$((megabytes * 1024 * 1024))
quarter=$((bytes / 4))
if ! make_real_page "$bytes" "$work/real-many-lines.html"; then
    echo "no HTML in $docs: the real pages are skipped"
else
    one_line "$work/real-many-lines.html" "$work/real-one-line.html"
    head -c "$quarter" "$work/real-many-lines.html" | sed '$d' >"$work/real-quarter.html"
    one_line "$work/real-quarter.html" "$work/real-one-line-quarter.html"
fi
"$make_page" "$megabytes" many-lines "$work/dense-many-lines.html"
"$make_page" "$megabytes" one-line "$work/dense-one-line.html"
"$make_page" "$((megabytes / 4))" one-line "$work/dense-one-line-quarter.html"

printf 'pages of %s MB, best of %s runs\n' "$megabytes" "$runs"
for page in real-many-lines real-one-line dense-many-lines dense-one-line; do
    file="$work/$page.html"
    [ -f "$file" ] || continue
    harvest_us=$(best_time "$harvest" "$file")
    harvest_links=$(wc -l <"$work/out.txt")
    if [ "$have_rg" -eq 0 ]; then
        printf '%-16s harvester %s (%s links)\n' "$page" "$(ms "$harvest_us")" "$harvest_links"
        continue
    fi
    rg_us=$(best_time rg -o -i "$pattern" "$file")
    rg_links=$(wc -l <"$work/out.txt")
    printf '%-16s harvester %s (%s links), ripgrep %s (%s matches), harvester/ripgrep %s\n' \
        "$page" "$(ms "$harvest_us")" "$harvest_links" "$(ms "$rg_us")" "$rg_links" \
        "$(ratio "$harvest_us" "$rg_us")"
done

# Processor time per byte at the full size against a quarter of it, with the time the program
# takes on an empty page (its start) taken off both; 1.00 is linear.
: >"$work/empty.html"
start_us=$(best_cpu "$harvest" "$work/empty.html")
line="linearity, one line, processor time less the start ($(ms "$start_us")), per byte at"
line+=" $megabytes MB / at $((megabytes / 4)) MB:"
for kind in real dense; do
    [ -f "$work/$kind-one-line.html" ] || continue
    full_us=$(best_cpu "$harvest" "$work/$kind-one-line.html")
    full_bytes=$(stat -c %s "$work/$kind-one-line.html")
    part_us=$(best_cpu "$harvest" "$work/$kind-one-line-quarter.html")
    part_bytes=$(stat -c %s "$work/$kind-one-line-quarter.html")
    line+=" $kind $(ms "$part_us") -> $(ms "$full_us") ="
    line+=" $(awk -v f="$full_us" -v fb="$full_bytes" -v p="$part_us" -v pb="$part_bytes" \
        -v s="$start_us" 'BEGIN { printf "%.2f", ((f - s) / fb) / ((p - s) / pb) }');"
done
echo "${line%;}"
