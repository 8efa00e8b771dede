#!/usr/bin/env bash
# Smoke test of the Windows program under Wine on a virtual X display: a first start in an empty
# folder writes its files, a bookmark added with the keyboard reaches the store file, and Exit
# ends the program with the running marker gone.
#
#   tests/win32/smoke.sh path/to/tabbern.exe     (the x86_64 build)
#
# Screenshots of the windows go to $TABBERN_SHOTS (default /tmp/win-shots) when ImageMagick's
# import is there. Needs wine (64-bit), Xvfb and xdotool.
set -euo pipefail

fail() {
    echo "smoke test FAILED: $*" >&2
    exit 1
}

[ $# -eq 1 ] || fail "usage: $0 path/to/tabbern.exe"
exe=$(realpath "$1")
[ -f "$exe" ] || fail "no program at $1"

wine=""
for candidate in wine64 /usr/lib/wine/wine64 wine; do
    if command -v "$candidate" >/dev/null 2>&1; then
        wine=$(command -v "$candidate")
        break
    fi
done
[ -n "$wine" ] || fail "wine is not installed"
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null 2>&1 || fail "$tool is not installed"
done

shots=${TABBERN_SHOTS:-/tmp/win-shots}
work=$(mktemp -d /tmp/tabbern-smoke.XXXXXX)
app="$work/app"
mkdir -p "$app" "$shots"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

xvfb_pid=""
program_pid=""
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# An own X display on the first free number.
for n in $(seq 120 160); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
        xvfb_pid=$!
        export DISPLAY=":$n"
        break
    fi
done
[ -n "$xvfb_pid" ] || fail "no free X display"
for _ in $(seq 50); do
    xdotool getmouselocation >/dev/null 2>&1 && break
    sleep 0.1
done

echo "== preparing a Wine prefix"
timeout 300 "$wine" wineboot -i >"$work/wineboot.log" 2>&1 || fail "wineboot failed"
# Without a window manager Wine draws the window frames itself.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
wineserver -w

shot() {
    if command -v import >/dev/null 2>&1; then
        sleep 0.7
        import -window root "$shots/$1.png"
    fi
}

# Waits until a visible window with exactly this title exists (or, with "gone", no longer
# exists) and prints its id.
wait_window() {
    local title=$1 want=${2:-present} id=""
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -1 || true)
        if [ "$want" = present ] && [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        if [ "$want" = gone ] && [ -z "$id" ]; then
            return 0
        fi
        sleep 0.2
    done
    return 1
}

keys() {
    xdotool key --delay 80 "$@"
    sleep 0.4
}

echo "== first start in an empty folder"
cp "$exe" "$app/tabbern.exe"
(cd "$app" && exec "$wine" tabbern.exe >"$work/program.log" 2>&1) &
program_pid=$!
main=$(wait_window " Tabbern 5.2") || fail "the main window did not appear"
for f in tabbern.cfg tabbern.run tabbern.dat tabbern.grp; do
    [ -f "$app/$f" ] || fail "a first start did not write $f"
done
grep -q "Tabbern" "$app/tabbern.run" || fail "tabbern.run does not name the program"
[ "$(stat -c %s "$app/tabbern.cfg")" -eq 128 ] || fail "tabbern.cfg is not the 128-byte record"
head -c 1 "$app/tabbern.dat" | grep -q '\[' || fail "tabbern.dat does not start with its header"
shot main-empty

echo "== adding a bookmark with the keyboard"
xdotool windowfocus --sync "$main"
keys alt+b
shot menu-bookmarks
keys a
wait_window "Add A Bookmark" >/dev/null || fail "the add dialog did not appear"
xdotool type --delay 40 "Smoke Test Site"
keys Tab
xdotool type --delay 40 "Smoke"
keys Tab
xdotool type --delay 40 "https://www.example.org/smoke"
shot add-dialog
# Enter in the URL box moves on to Save; Enter there saves.
keys Return
keys Return
wait_window "Add A Bookmark" gone || fail "the add dialog did not close after saving"
grep -a -q '\[n\]Smoke Test Site\[g\]Smoke\[' "$app/tabbern.dat" ||
    fail "the store file lacks the new bookmark: $(cat "$app/tabbern.dat")"
grep -a -q 'https://www.example.org/smoke' "$app/tabbern.dat" || fail "the store file lacks the URL"
grep -a -q '^Smoke' "$app/tabbern.grp" || fail "the group file lacks the new group"
shot main-window

if [ "${TABBERN_SHOTS_ALL:-0}" = 1 ]; then
    echo "== the other windows, for screenshots"
    xdotool windowfocus --sync "$main"
    keys alt+b e
    wait_window "Edit Selected Bookmark" >/dev/null && shot edit-dialog
    keys Escape
    wait_window "Edit Selected Bookmark" gone || fail "Escape did not close the edit dialog"
    xdotool windowfocus --sync "$main"
    keys alt+g e
    wait_window "Edit Selected Group" >/dev/null && shot rename-dialog
    keys Escape
    xdotool windowfocus --sync "$main"
    keys alt+h a
    wait_window " About Tabbern 5.2" >/dev/null && shot about
    keys Escape
    xdotool windowfocus --sync "$main"
    keys alt+h h
    wait_window "Tabbern Help" >/dev/null && shot help
    keys Escape
    # A text file with two links: the confirmation lists them, then each is named in turn.
    printf 'See https://www.example.com/one and\r\nhttp://www.example.net/two\r\n' >"$app/links.txt"
    xdotool windowfocus --sync "$main"
    keys alt+s t
    wait_window "Open" >/dev/null || fail "the open dialog did not appear"
    shot open-dialog
    xdotool type --delay 30 'links.txt'
    keys Return
    wait_window "Confirm Import" >/dev/null || fail "the import confirmation did not appear"
    shot import-confirm
    # The import button has the focus: the list is for reading only.
    keys Return
    wait_window "Name This Link" >/dev/null || fail "the link naming dialog did not appear"
    shot assign-link
    # Escape stops the import.
    keys Escape
    wait_window "Name This Link" gone || fail "Escape did not stop the import"
    sleep 1
fi

echo "== exit through the menu"
xdotool windowfocus --sync "$main"
keys alt+b
keys x
sleep 1
shot exit-question
keys Return
for _ in $(seq 100); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.2
done
kill -0 "$program_pid" 2>/dev/null && fail "the program is still running after Exit"
wait "$program_pid" || true
program_pid=""
[ -e "$app/tabbern.run" ] && fail "tabbern.run is still there after Exit"
[ -e "$app/tabbern.min" ] && fail "tabbern.min is still there after Exit"

echo "smoke test passed"
