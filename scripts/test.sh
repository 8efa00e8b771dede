#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the format check, the
# Windows programs (32-bit and 64-bit) with the core's and the Windows code's tests and a smoke
# test under wine64, the core's tests once more with the address and undefined-behaviour
# sanitizers, the fuzz harnesses over their seeds, then the core's tests and
# the GUI tests on the offscreen platform. The main test summary comes last.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs="$(nproc)"

echo "== format"
mapfile -t sources < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find . -name '*.cpp' -o -name '*.h')
clang-format --dry-run --Werror "${sources[@]}"

echo "== Windows: both programs, the tests under wine64, the smoke test"
scripts/test-windows.sh

echo "== core tests with the address and undefined-behaviour sanitizers"
# Unoptimised: it builds in a third of the time of an optimised build, and the tests stay quick.
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DTABBERN_SANITIZE=ON \
      -DTABBERN_BUILD_GUI=OFF -DTABBERN_BUILD_BENCH=OFF
cmake --build build-sanitize -j"$jobs"
ctest --test-dir build-sanitize --output-on-failure -j"$jobs"

echo "== fuzz harnesses over their seeds"
CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTABBERN_FUZZ=ON \
      -DTABBERN_BUILD_TESTS=OFF -DTABBERN_BUILD_GUI=OFF -DTABBERN_BUILD_BENCH=OFF
cmake --build build-fuzz -j"$jobs" --target tabbern_fuzzers
ctest --test-dir build-fuzz --output-on-failure -j"$jobs"

echo "== build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"

echo "== tests"
ctest --test-dir build --output-on-failure -j"$jobs"
