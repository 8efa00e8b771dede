#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang and runs each for the given number of seconds, as
# many at a time as there are cores. Each run starts from a copy of its seed corpus
# (fuzz/corpus/<harness>) with its dictionary (fuzz/dict); its log, grown corpus and findings
# stay in <build>/fuzz-out/<harness>. A run stops at its first finding. The summary at the end
# gives each harness's executions and findings; the exit status is 1 when anything was found.
#
#   fuzz/run.sh SECONDS [HARNESS...]
#
# FUZZ_BUILD_DIR (default build-fuzz) and FUZZ_JOBS (default: the number of cores) override.
set -euo pipefail
seconds="${1:?usage: fuzz/run.sh SECONDS [HARNESS...]}"
shift
cd "$(dirname "$0")/.."
build="${FUZZ_BUILD_DIR:-build-fuzz}"
jobs="${FUZZ_JOBS:-$(nproc)}"

CXX="${CXX:-clang++}" cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTABBERN_FUZZ=ON \
    -DTABBERN_BUILD_TESTS=OFF -DTABBERN_BUILD_GUI=OFF -DTABBERN_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$jobs" --target tabbern_fuzzers

if [ $# -gt 0 ]; then
    harnesses=("$@")
else
    mapfile -t harnesses < <(cd fuzz/corpus && ls -d -- * | sort)
fi

# The harnesses work in a temporary folder; one in memory spares the disk.
scratch="${TMPDIR:-/tmp}"
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    scratch=/dev/shm
fi

out="$build/fuzz-out"
run_one() {
    local harness="$1" dir="$out/$1" dict=fuzz/dict/tabbern.dict
    [ -f "fuzz/dict/$harness.dict" ] && dict="fuzz/dict/$harness.dict"
    rm -rf "$dir"
    mkdir -p "$dir/corpus" "$dir/findings"
    cp fuzz/corpus/"$harness"/* "$dir/corpus/"
    # A harness that keeps one program across inputs holds on to the last input's texts, which
    # libFuzzer takes for a possible leak and checks for after nearly every input, at twenty
    # times the cost of the input itself.
    local leaks=1
    case "$harness" in
    store_loader | group_loader | share_import | settings_record) leaks=0 ;;
    esac
    TMPDIR="$scratch" "$build/fuzz/fuzz_$harness" -max_total_time="$seconds" -timeout=30 \
        -rss_limit_mb=4096 -detect_leaks="$leaks" -dict="$dict" \
        -artifact_prefix="$dir/findings/" -print_final_stats=1 "$dir/corpus" >"$dir/log" 2>&1 ||
        true
}

echo "== fuzzing ${harnesses[*]} for ${seconds} s each, $jobs at a time"
running=0
for harness in "${harnesses[@]}"; do
    if [ "$running" -ge "$jobs" ]; then
        wait -n
        running=$((running - 1))
    fi
    run_one "$harness" &
    running=$((running + 1))
done
wait

found=0
printf '%-16s %14s %9s  %s\n' harness executions findings corpus
for harness in "${harnesses[@]}"; do
    dir="$out/$harness"
    executions="$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log" | tail -1)"
    findings="$(find "$dir/findings" -type f | wc -l)"
    corpus="$(find "$dir/corpus" -type f | wc -l)"
    printf '%-16s %14s %9s  %s\n' "$harness" "${executions:-?}" "$findings" "$corpus"
    if [ "$findings" -gt 0 ]; then
        found=1
        find "$dir/findings" -type f -printf '    %p\n'
    fi
done
exit "$found"
