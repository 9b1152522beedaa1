# Shared by the shell tests that run the real program: a private Xvfb display, windows found
# by title, clicks and keys with xdotool, and the program's exit code. The caller sets `work`
# (a scratch directory) before sourcing; `cleanup_extra` may be defined for more clean-up.
# TABLEWISE_WRAPPER runs the program under another command (valgrind); TABLEWISE_SLOWDOWN
# stretches every wait for it.

xvfb_pid=""
wm_pid=""
app_pid=""
slowdown=${TABLEWISE_SLOWDOWN:-1}

cleanup() {
    [[ -n "$app_pid" ]] && kill "$app_pid" 2>/dev/null || true
    [[ -n "$wm_pid" ]] && kill "$wm_pid" 2>/dev/null || true
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null || true
    if declare -F cleanup_extra >/dev/null; then cleanup_extra || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [[ -f "$work/program.log" ]] && sed 's/^/program: /' "$work/program.log" >&2
    local shot=${E2E_FAILURE_SHOT:-/tmp/tablewise-failure.png}
    [[ -n "${DISPLAY:-}" ]] && import -window root "$shot" 2>/dev/null && echo "screenshot: $shot" >&2
    exit 1
}

pause() { sleep "$(awk -v a="$1" -v b="$slowdown" 'BEGIN { print a * b }')"; }

# A private X server on a free display, which Xvfb picks and writes once it accepts connections
# (-displayfd); -noreset, or it resets and refuses connections whenever its last client leaves.
start_x() {
    : >"$work/displayfd"
    exec 3<>"$work/displayfd"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    exec 3>&-
    for _ in $(seq 300); do
        [[ $(wc -l <"$work/displayfd") -ge 1 ]] && break  # the whole line is written
        kill -0 "$xvfb_pid" 2>/dev/null || { cat "$work/xvfb.log" >&2; fail "Xvfb ended at start"; }
        sleep 0.1
    done
    [[ $(wc -l <"$work/displayfd") -ge 1 ]] || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$work/displayfd")"
    for _ in $(seq 100); do
        xdotool getmouselocation >/dev/null 2>&1 && return
        sleep 0.1
    done
    fail "the X server does not answer"
}

# A window manager (openbox) on that display; returns once it manages the screen.
start_wm() {
    openbox >"$work/wm.log" 2>&1 &
    wm_pid=$!
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return
        sleep 0.1
    done
    fail "openbox did not start"
}

# Waits until a window with exactly this title is mapped; prints its id.
wait_window() {
    local title=$1 seconds=$((${2:-60} * slowdown)) id
    for _ in $(seq $((seconds * 10))); do
        id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n1 || true)
        [[ -n "$id" ]] && echo "$id" && return
        sleep 0.1
    done
    fail "no window \"$title\" within ${seconds}s"
}

wait_gone() {
    for _ in $(seq $((300 * slowdown))); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "window \"$1\" is still there"
}

# The client origin of a window on the screen (xdotool's geometry is off by the frame under a
# window manager; xwininfo's absolute corner is right with and without one).
origin() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
                             END { print x, y }'
}

# The client size of a window: "WIDTHxHEIGHT".
client_size() {
    xwininfo -id "$1" | awk '/^  Width:/ { w = $NF } /^  Height:/ { h = $NF } END { print w "x" h }'
}

# Checks that a window's client area is centred on the 1280 x 1024 screen (within a pixel).
expect_centred() {
    local x y size w h
    read -r x y < <(origin "$1")
    size=$(client_size "$1")
    w=${size%x*} h=${size#*x}
    ((${x} + w / 2 - 640 <= 1 && 640 - x - w / 2 <= 1 && y + h / 2 - 512 <= 1 &&
        512 - y - h / 2 <= 1)) || fail "window $1 (${size} at $x,$y) is not centred"
}

# Clicks at a point of a window's client area: click WINDOW X Y [BUTTON]
click() {
    local ox oy
    read -r ox oy < <(origin "$1")
    xdotool mousemove $((ox + $2)) $((oy + $3))
    sleep 0.15
    xdotool mousemove $((ox + $2 + 1)) $((oy + $3))  # a move the program sees for picking
    sleep 0.15
    xdotool click "${4:-1}"
    sleep 0.3
}

# A click as the program needs it, as lines for `xdotool -`: a move onto the screen point and
# one pixel on (the program picks on moves), then the button. click_line X Y [BUTTON]
click_line() {
    printf 'mousemove %d %d\nsleep 0.02\nmousemove %d %d\nsleep 0.02\nclick %s\nsleep 0.04\n' \
        "$1" "$2" $(($1 + 1)) "$2" "${3:-1}"
}

# The centre of card (column = rank index, row = suit) of the 400 x 180 card selection window,
# in its client pixels: grid_point COLUMN ROW
grid_point() {
    awk -v c="$1" -v r="$2" 'BEGIN {
        w = 1.54 / 13; x = -1 + 0.05 + c * (w + 0.03) + w / 2; y = -1 + 0.05 + r * 0.49 + 0.215
        printf "%d %d\n", (x + 1) / 2 * 400, (1 - y) / 2 * 180 }'
}

# Mean brightness (0..1) of a rectangle of a window's client area: brightness WINDOW X Y W H
brightness() {
    local ox oy
    read -r ox oy < <(origin "$1")
    import -window root -crop "$4x$5+$((ox + $2))+$((oy + $3))" +repage "$work/crop.png"
    convert "$work/crop.png" -format '%[fx:mean]' info:
}

above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# A black spot of the main dialog's opponents view, away from every marker, where a right-click
# offers "Add New": prints its client point in the main dialog. empty_spot MAIN
empty_spot() {
    local cx cy
    for candidate in "150 185" "40 40" "260 40" "150 100" "40 180" "260 180" "100 140" "200 60"; do
        read -r cx cy <<<"$candidate"
        if above 0.001 "$(brightness "$1" $((11 + cx - 20)) $((271 + cy - 16)) 40 32)"; then
            echo "$((11 + cx)) $((271 + cy))"
            return
        fi
    done
    fail "no empty spot in the opponents view"
}

# Gives a window the keyboard focus and types a key into it: key WINDOW KEY
key() {
    xdotool windowfocus "$1" 2>/dev/null || true
    sleep 0.2
    xdotool key "$2"
    sleep 0.2
}

start_program() {
    # shellcheck disable=SC2086
    ${TABLEWISE_WRAPPER:-} "$1" >"$work/program.log" 2>&1 &
    app_pid=$!
}

# Waits for the program to end and checks its exit code.
expect_exit() {
    local expected=$1 code
    for _ in $(seq $((300 * slowdown))); do
        kill -0 "$app_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$app_pid" 2>/dev/null && fail "the program did not end"
    code=0
    wait "$app_pid" || code=$?
    app_pid=""
    [[ $code -eq $expected ]] || fail "exit code $code, expected $expected"
}

# Escape in the main dialog, Yes in "Really Quit?": the program ends with 2.
quit_with_yes() {
    key "$1" Escape
    key "$(wait_window "Quit Program" 10)" Return
    expect_exit 2
}
