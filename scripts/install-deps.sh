#!/usr/bin/env bash
# Installs what Tabbern needs on Debian, and nothing that is already there. Run as root (or with
# sudo available).
#   scripts/install-deps.sh run    what building and running the Linux program needs
#   scripts/install-deps.sh        that, and everything the tests need: GoogleTest and Google
#                                  Benchmark, the Windows cross compilers and wine, clang for
#                                  the sanitizer and fuzz builds, a virtual display, the format
#                                  check and the desktop-file validators
set -euo pipefail

packages=(
    g++ cmake make pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
)
if [ "${1:-all}" != run ]; then
    packages+=(
        libgtest-dev libgmock-dev libbenchmark-dev
        g++-mingw-w64-i686 g++-mingw-w64-x86-64 googletest
        wine wine64 fonts-wine libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1 xdotool
        clang-format
        clang libclang-rt-dev
        xvfb xauth
        desktop-file-utils appstream
    )
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
