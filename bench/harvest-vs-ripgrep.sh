#!/usr/bin/env bash
# Times the link harvester against ripgrep on the same generated web pages, in one run, and
# prints the ratios: the page on one line (as minified pages are) and in many lines.
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

ms() { awk -v us="$1" 'BEGIN { printf "%.1f ms", us / 1000 }'; }

have_rg=1
if ! command -v rg >/dev/null 2>&1; then
    have_rg=0
    echo "rg (ripgrep) is not installed: timing the harvester alone (Debian: apt-get install ripgrep)"
fi

printf 'page of %s MB, best of %s runs\n' "$megabytes" "$runs"
for layout in one-line many-lines; do
    page="$work/$layout.html"
    "$make_page" "$megabytes" "$layout" "$page"
    harvest_us=$(best_time "$harvest" "$page")
    harvest_links=$(wc -l <"$work/out.txt")
    if [ "$have_rg" -eq 0 ]; then
        printf '%-10s harvester %s (%s links)\n' "$layout" "$(ms "$harvest_us")" "$harvest_links"
        continue
    fi
    rg_us=$(best_time rg -o -i "$pattern" "$page")
    rg_links=$(wc -l <"$work/out.txt")
    printf '%-10s harvester %s (%s links), ripgrep %s (%s matches), harvester/ripgrep %s\n' \
        "$layout" "$(ms "$harvest_us")" "$harvest_links" "$(ms "$rg_us")" "$rg_links" \
        "$(awk -v h="$harvest_us" -v r="$rg_us" 'BEGIN { printf "%.2f", h / r }')"
done
