# Sourced by scripts that drive the Windows program under Wine on a virtual X display of their
# own: the smoke test and the screenshot tour. It finds wine, starts Xvfb on the first free
# display, makes a fresh Wine prefix in a scratch folder and cleans all of it up on exit.
# Afterwards: $wine, $work (the scratch folder), $DISPLAY, and the functions below.
# Needs wine (64-bit), Xvfb and xdotool; screenshots need ImageMagick's import.

fail() {
    echo "${fail_prefix:-FAILED}: $*" >&2
    exit 1
}

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

work=$(mktemp -d /tmp/tabbern-wine.XXXXXX)
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

timeout 300 "$wine" wineboot -i >"$work/wineboot.log" 2>&1 || fail "wineboot failed"
# Without a window manager Wine draws the window frames itself.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
wineserver -w

# Starts a copy of the program in folder $1 (made if missing) and waits for its main window,
# whose id it leaves in $main.
start_program() {
    mkdir -p "$1"
    cp "$exe" "$1/tabbern.exe"
    (cd "$1" && exec "$wine" tabbern.exe >"$work/program.log" 2>&1) &
    program_pid=$!
    main=$(wait_window " Tabbern 5.2") || fail "the main window did not appear"
}

# A screenshot of the whole display as $shots/$1.png, when import is there.
shot() {
    if [ -n "${shots:-}" ] && command -v import >/dev/null 2>&1; then
        mkdir -p "$shots"
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

# Brings the main window forward and types keys into it.
main_keys() {
    xdotool windowfocus --sync "$main"
    keys "$@"
}
