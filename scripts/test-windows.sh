#!/usr/bin/env bash
# The Windows part of CI: installs what is missing, builds the 32-bit program (build-win32) and
# the 64-bit program (build-win64), each with every test, then runs under wine64 the core's
# tests, the Windows program's own tests and the smoke test of the 64-bit program, each on a
# virtual display. 32-bit programs cannot run here (the kernel has no 32-bit support): their
# tests are built so that the 32-bit build of every target stays compiling. Every test step
# runs even when an earlier one failed; the script fails at the end if any did.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

scripts/build-windows.sh --with-tests

wine64=""
for candidate in /usr/lib/wine/wine64 "$(command -v wine64 || true)" "$(command -v wine || true)"; do
    if [ -n "$candidate" ] && [ -x "$candidate" ]; then
        wine64="$candidate"
        break
    fi
done
if [ -z "$wine64" ]; then
    echo "wine64 is not installed (scripts/install-deps.sh installs it)" >&2
    exit 1
fi

# A wine prefix of this build's own, the one CTest gives the tests too; never the user's.
export WINEPREFIX="$PWD/build-win64/wineprefix"
export WINEDEBUG=-all
# Whatever happens, stop this prefix's wine server, which would linger for a while otherwise.
wineserver="$(dirname "$wine64")/wineserver"
[ -x "$wineserver" ] || wineserver="$(command -v wineserver || echo true)"
trap '"$wineserver" -k >/dev/null 2>&1 || true' EXIT

echo "== wine prefix ($WINEPREFIX)"
# Made without a display, so that none of wineboot's windows can appear on a developer's screen.
if ! DISPLAY="" "$wine64" wineboot -i >build-win64/wineboot.log 2>&1; then
    cat build-win64/wineboot.log >&2
    exit 1
fi
# The tests must find no wine process that was started without a display.
"$wineserver" -w

# The Windows program's tests make real windows: they get a virtual display of their own. The
# core's tests need none and do not mind one.
xvfb=(xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp")

failed=()

echo "== core tests and Windows program tests under wine64"
"${xvfb[@]}" ctest --test-dir build-win64 --output-on-failure || failed+=("CTest in build-win64")

exe64="$(find build-win64 -path build-win64/wineprefix -prune -o -type f -name tabbern.exe -print |
    head -n 1)"

echo "== smoke test of the 64-bit program under wine64"
if [ -f tests/win32/smoke.sh ]; then
    bash tests/win32/smoke.sh "$exe64" || failed+=("tests/win32/smoke.sh")
else
    echo "(tests/win32/smoke.sh does not exist yet)"
fi

echo "== Windows program tests under wine64, unless CTest ran them"
win32tests="$(find build-win64 -path build-win64/wineprefix -prune -o -type f \
    -name tabbern_win32_tests.exe -print | head -n 1)"
if [ -z "$win32tests" ]; then
    echo "(tabbern_win32_tests is not built)"
elif [[ "$(ctest --test-dir build-win64 -N)" == *tabbern_win32_tests* ]]; then
    echo "(run by CTest above)"
else
    "${xvfb[@]}" "$wine64" "$win32tests" || failed+=("tabbern_win32_tests")
fi

if [ ${#failed[@]} -gt 0 ]; then
    printf 'Windows tests FAILED: %s\n' "${failed[@]}" >&2
    echo "(after ${SECONDS} s)" >&2
    exit 1
fi
echo "Windows builds and tests passed in ${SECONDS} s"
