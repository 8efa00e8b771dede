#!/usr/bin/env bash
# A tour of the Windows program's windows under Wine, one screenshot each, for looking at them
# as a user does: the main window, its menus, every dialog and a text-file import.
#
#   scripts/windows-screenshots.sh path/to/tabbern.exe [folder]     (default /tmp/win-shots)
set -euo pipefail
[ $# -ge 1 ] && [ -f "$1" ] || { echo "usage: $0 path/to/tabbern.exe [folder]" >&2; exit 1; }
exe=$(realpath "$1")
shots=${2:-/tmp/win-shots}
source "$(dirname "$0")/wine-session.sh"
app="$work/app"
mkdir -p "$app"
printf 'See https://www.example.com/one and\r\nhttp://www.example.net/two\r\n' >"$app/links.txt"

start_program "$app"
shot main-empty
main_keys alt+b
shot menu-bookmarks
keys Escape Escape
tour() { # keys, the window's title, the screenshot's name
    main_keys $1
    wait_window "$2" >/dev/null && shot "$3"
    keys Escape
}
tour "alt+b a" "Add A Bookmark" add-dialog
tour "alt+h a" " About Tabbern 5.2" about
tour "alt+h h" "Tabbern Help" help
main_keys alt+s t
wait_window "Open" >/dev/null || fail "the open dialog did not appear"
shot open-dialog
xdotool type --delay 30 'links.txt'
keys Return
wait_window "Confirm Import" >/dev/null && shot import-confirm
keys Return
wait_window "Name This Link" >/dev/null && shot assign-link
keys Escape
echo "screenshots in $shots"
