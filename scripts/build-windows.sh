#!/usr/bin/env bash
# Builds the Windows program with Debian's MinGW-w64 cross compilers: the 32-bit tabbern.exe
# that we ship, in build-win32/, and a 64-bit one in build-win64/ that runs under wine64 (this
# kind of machine runs no 32-bit programs). Each is one self-contained file: copy it into any
# folder on Windows and start it. The packages come from scripts/install-deps.sh.
#
#   scripts/build-windows.sh               both programs
#   scripts/build-windows.sh --with-tests  also the tests in both builds: the 64-bit ones run
#                                          under wine64, the 32-bit ones are only compiled, so
#                                          that every target of the program we ship builds
set -euo pipefail
cd "$(dirname "$0")/.."

tests=OFF
for arg in "$@"; do
    case "$arg" in
    --with-tests) tests=ON ;;
    *)
        echo "usage: $0 [--with-tests]" >&2
        exit 2
        ;;
    esac
done

jobs="$(nproc)"

# The program is tabbern.exe wherever its CMake target puts it; the wine prefix is no place
# to look.
find_program_file() {
    find "$1" -path "$1/wineprefix" -prune -o -type f -name tabbern.exe -print | head -n 1
}

echo "== 32-bit Windows program (build-win32)"
# Every option is given, so that a folder configured differently before is brought back.
cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
    -DCMAKE_BUILD_TYPE=Release -DTABBERN_CORE_ONLY=OFF -DTABBERN_BUILD_WIN32=ON \
    -DTABBERN_BUILD_TESTS="$tests"
cmake --build build-win32 -j"$jobs"

echo "== 64-bit Windows program (build-win64)"
# Only for testing: -O1 builds quickest of the optimised levels, and assertions stay on.
cmake -S . -B build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-O1 \
    -DTABBERN_CORE_ONLY=OFF -DTABBERN_BUILD_WIN32=ON -DTABBERN_BUILD_TESTS="$tests"
cmake --build build-win64 -j"$jobs"

exe32="$(find_program_file build-win32)"
exe64="$(find_program_file build-win64)"
if [ -z "$exe32" ] || [ -z "$exe64" ]; then
    echo "tabbern.exe was not built" >&2
    exit 1
fi
echo
echo "32-bit Windows program: $exe32"
echo "64-bit Windows program: $exe64"
