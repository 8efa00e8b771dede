#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang and runs each for SECONDS, as many at a time as there
# are cores, from a copy of its seed corpus (fuzz/corpus/<harness>) with its dictionary
# (fuzz/dict). Log, grown corpus and findings stay in <build>/fuzz-out/<harness>; a run stops at
# its first finding. Prints each harness's executions and findings; exits 1 when anything was
# found. FUZZ_BUILD_DIR (default build-fuzz) and FUZZ_JOBS (default: the cores) override.
#
#   scripts/fuzz.sh SECONDS [HARNESS...]
set -euo pipefail
seconds="${1:?usage: scripts/fuzz.sh SECONDS [HARNESS...]}"
shift
cd "$(dirname "$0")/.."
build="${FUZZ_BUILD_DIR:-build-fuzz}"
jobs="${FUZZ_JOBS:-$(nproc)}"
CXX="${CXX:-clang++}" cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTABBERN_FUZZ=ON \
    -DTABBERN_BUILD_TESTS=OFF -DTABBERN_BUILD_GUI=OFF -DTABBERN_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$jobs" --target tabbern_fuzzers
harnesses=("$@")
[ $# -gt 0 ] || mapfile -t harnesses < <(cd fuzz/corpus && ls -d -- * | sort)
# The harnesses work in a temporary folder; one in memory spares the disk.
scratch="${TMPDIR:-/tmp}"
[ -d /dev/shm ] && [ -w /dev/shm ] && scratch=/dev/shm
out="$build/fuzz-out"

run_one() {
    local harness="$1" dir="$out/$1" dict=fuzz/dict/tabbern.dict leaks=1
    [ -f "fuzz/dict/$harness.dict" ] && dict="fuzz/dict/$harness.dict"
    rm -rf "$dir"
    mkdir -p "$dir/corpus" "$dir/findings"
    cp fuzz/corpus/"$harness"/* "$dir/corpus/"
    # A harness that keeps one program across inputs holds on to the last input's texts, which
    # libFuzzer would take for a possible leak and check after nearly every input.
    case "$harness" in
    store_loader | group_loader | share_import | settings_record) leaks=0 ;;
    esac
    TMPDIR="$scratch" "$build/fuzz/fuzz_$harness" -max_total_time="$seconds" -timeout=30 \
        -rss_limit_mb=4096 -detect_leaks="$leaks" -dict="$dict" \
        -artifact_prefix="$dir/findings/" -print_final_stats=1 "$dir/corpus" >"$dir/log" 2>&1 ||
        true
}
export -f run_one
export out scratch build seconds

echo "== fuzzing ${harnesses[*]} for ${seconds} s each, $jobs at a time"
printf '%s\n' "${harnesses[@]}" | xargs -P "$jobs" -I{} bash -c 'run_one "$1"' _ {}

found=0
for harness in "${harnesses[@]}"; do
    findings="$(find "$out/$harness/findings" -type f)"
    printf '%-16s %s executions, %s findings\n' "$harness" \
        "$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/$harness/log" | tail -1)" \
        "$(grep -c . <<<"$findings")"
    [ -z "$findings" ] || { found=1; sed 's/^/    /' <<<"$findings"; }
done
exit "$found"
