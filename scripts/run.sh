#!/usr/bin/env bash
# Installs what is missing, builds Tabbern and starts it on its default folder
# (~/.local/share/tabbern).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTABBERN_BUILD_TESTS=OFF -DTABBERN_BUILD_BENCH=OFF
cmake --build build -j"$(nproc)" --target tabbern
exec build/tabbern "$@"
