# Helpers for the install and package tests, sourced by them: a private Xvfb display, waiting
# for windows, and one short session of the program that ends through "Really Quit?" (exit 2).
# The display and window helpers follow tests/e2e/e2e.sh. The caller sets `work` (a scratch
# directory) before sourcing; `cleanup_extra` may be defined to run more clean-up at exit.

xvfb_pid=""
app_pid=""

cleanup() {
    [[ -n "$app_pid" ]] && kill "$app_pid" 2>/dev/null || true
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null || true
    if declare -F cleanup_extra >/dev/null; then cleanup_extra || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [[ -f "$work/program.log" ]] && sed 's/^/program: /' "$work/program.log" >&2
    exit 1
}

# A private X server on a free display.
start_x() {
    exec 3<> "$work/displayfd"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [[ -s "$work/displayfd" ]] && break
        sleep 0.1
    done
    [[ -s "$work/displayfd" ]] || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$work/displayfd")"
    for _ in $(seq 100); do
        xdotool getmouselocation >/dev/null 2>&1 && return
        sleep 0.1
    done
    fail "the X server does not answer"
}

# Waits until a window with exactly this title is mapped; prints its id.
wait_window() {
    local title=$1 seconds=${2:-60}
    for _ in $(seq $((seconds * 10))); do
        local id
        id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n1 || true)
        if [[ -n "$id" ]]; then
            echo "$id"
            return
        fi
        sleep 0.1
    done
    fail "no window \"$title\" within ${seconds}s"
}

# Clicks at a point of a window's client area (no window manager, so no frames).
click() {
    local X Y WINDOW SCREEN WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove $((X + $2)) $((Y + $3))
    sleep 0.15
    xdotool click 1
    sleep 0.3
}

key() {
    xdotool windowfocus "$1" 2>/dev/null || true
    sleep 0.2
    xdotool key "$2"
    sleep 0.2
}

# Starts the program, chooses "Quick Calculation", waits for the main dialog, answers
# "Really Quit?" with Yes and checks the exit code 2 that this way out gives.
run_and_quit() {
    local program=$1 code
    "$program" >"$work/program.log" 2>&1 &
    app_pid=$!
    local precalc main quit
    precalc=$(wait_window "Precalculating Data")
    click "$precalc" 65 106  # "Quick Calculation"
    main=$(wait_window "Tablewise Application" 120)
    key "$main" Escape
    quit=$(wait_window "Quit Program" 10)
    key "$quit" Return
    for _ in $(seq 300); do
        kill -0 "$app_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$app_pid" 2>/dev/null && fail "$program did not end after \"Really Quit?\""
    set +e
    wait "$app_pid"
    code=$?
    set -e
    app_pid=""
    [[ $code -eq 2 ]] || fail "$program ended with exit code $code, expected 2"
}
