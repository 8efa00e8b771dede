#!/usr/bin/env bash
# Smoke test of the Windows program under Wine on a virtual X display: a first start in an empty
# folder writes its files, a bookmark added with the keyboard reaches the store file, and Exit
# ends the program with the running marker gone.
#
#   tests/win32/smoke.sh path/to/tabbern.exe     (the x86_64 build)
#
# Screenshots go to $TABBERN_SHOTS when it is set.
set -euo pipefail
fail_prefix="smoke test FAILED"
[ $# -eq 1 ] && [ -f "$1" ] || { echo "usage: $0 path/to/tabbern.exe" >&2; exit 1; }
exe=$(realpath "$1")
shots=${TABBERN_SHOTS:-}
source "$(dirname "$0")/../../scripts/wine-session.sh"
app="$work/app"

echo "== first start in an empty folder"
start_program "$app"
for f in tabbern.cfg tabbern.run tabbern.dat tabbern.grp; do
    [ -f "$app/$f" ] || fail "a first start did not write $f"
done

echo "== adding a bookmark with the keyboard"
main_keys alt+b a
wait_window "Add A Bookmark" >/dev/null || fail "the add dialog did not appear"
for text in "Smoke Test Site" "Smoke"; do xdotool type --delay 40 "$text"; keys Tab; done
xdotool type --delay 40 "https://www.example.org/smoke"
shot add-dialog
# Enter in the URL box moves on to Save; Enter there saves.
keys Return Return
wait_window "Add A Bookmark" gone || fail "the add dialog did not close after saving"
grep -a -q '\[n\]Smoke Test Site\[g\]Smoke\[.*\]https://www.example.org/smoke' "$app/tabbern.dat" ||
    fail "the store file lacks the new bookmark: $(cat "$app/tabbern.dat")"

echo "== exit through the menu"
main_keys alt+b x
wait_window "Tabbern 5.2" >/dev/null || fail "the Exit question did not appear"
keys Return
for _ in $(seq 100); do kill -0 "$program_pid" 2>/dev/null && sleep 0.2 || break; done
kill -0 "$program_pid" 2>/dev/null && fail "the program is still running after Exit"
wait "$program_pid" || true
program_pid=""
for f in tabbern.run tabbern.min; do [ -e "$app/$f" ] && fail "$f is still there after Exit"; done

echo "smoke test passed"
