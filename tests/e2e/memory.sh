#!/usr/bin/env bash
# The resident memory of the real program must not grow with use. After Quick Calculation and
# a warm-up of 1,000 events, the program gets 20,000 pointer moves over its four OpenGL areas
# (hole cards, table cards, opponents, selection grid), 500 card clicks (placing, taking back,
# New Hand), 300 popup menus closed with Escape and 100 add-player dialogs cancelled; the test
# fails when VmRSS grew by more than 2 MB after the warm-up. Events are sent in batches, one
# xdotool call each; the program handles them in order, so the sleeps only pace the stream.
# Usage: memory.sh path/to/tablewise
set -euo pipefail

program=$(realpath "$1")
work=$(mktemp -d)
export E2E_FAILURE_SHOT=${E2E_FAILURE_SHOT:-/tmp/tablewise-memory-failure.png}
# shellcheck source=tests/xvfb_session.sh
source "$(dirname "$(realpath "$0")")/../xvfb_session.sh"

limit_kb=${MEMORY_LIMIT_KB:-2048}

rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$app_pid/status"; }

# Lets the program catch up with the events sent, then prints its resident set in kB.
settled_rss() {
    pause 2
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended"
    rss
}

# Runs a file of xdotool commands (one per line) as one call.
run_batch() {
    timeout 600 xdotool - <"$1" || fail "xdotool batch $(basename "$1") failed"
}

# Nothing but the two windows of the session may be open between batches (an Escape that
# reached the main dialog would have asked "Really Quit?").
expect_no_box() {
    if xdotool search --onlyvisible --name "^Quit Program\$" >/dev/null 2>&1; then
        fail "a stray Escape asked to quit"
    fi
}

# moves N: a batch of N pointer moves, a quarter over each OpenGL area, at pseudo-random
# points strictly inside them (the same points on every run).
moves() {
    awk -v n="$1" -v seed="$2" -v mx="$mx" -v my="$my" -v sx="$sx" -v sy="$sy" 'BEGIN {
        srand(seed)
        # left, top, width and height of each area on the screen
        L[0] = mx + 22; T[0] = my + 35;  W[0] = 209; H[0] = 65   # hole cards
        L[1] = mx + 22; T[1] = my + 136; W[1] = 209; H[1] = 65   # table cards
        L[2] = mx + 12; T[2] = my + 272; W[2] = 295; H[2] = 196  # opponents
        L[3] = sx + 1;  T[3] = sy + 1;   W[3] = 398; H[3] = 178  # selection grid
        for (i = 0; i < n; ++i) {
            k = i % 4
            printf "mousemove %d %d\n", L[k] + int(rand() * W[k]), T[k] + int(rand() * H[k])
            if (i % 8 == 7) print "sleep 0.004"
        }
    }' >"$work/moves.txt"
    run_batch "$work/moves.txt"
}

# The centre of card (rank index, suit) of the selection grid on the screen.
grid_point() {
    awk -v c="$1" -v r="$2" -v sx="$sx" -v sy="$sy" 'BEGIN {
        w = 1.54 / 13; x = -1 + 0.05 + c * (w + 0.03) + w / 2; y = -1 + 0.05 + r * 0.49 + 0.215
        printf "%d %d\n", sx + (x + 1) / 2 * 400, sy + (1 - y) / 2 * 180 }'
}

# A click as the program needs it: a move onto the point and one more pixel (the program picks
# on moves), then the button.
click_line() { printf 'mousemove %d %d\nsleep 0.02\nmousemove %d %d\nsleep 0.02\nclick %s\nsleep 0.04\n' \
    "$1" "$2" $(($1 + 1)) "$2" "${3:-1}"; }

# place_five ROUND: five cards from the grid (two hole cards, the flop and the turn).
place_five() {
    local gx gy
    : >"$work/place.txt"
    for k in 0 1 2 3 4; do
        read -r gx gy < <(grid_point $((($1 * 5 + k * 3) % 13)) $((($1 + k) % 4)))
        click_line "$gx" "$gy" >>"$work/place.txt"
    done
    run_batch "$work/place.txt"
}

# card_clicks N SEED: N clicks in rounds of seven (five cards placed from the grid, one taken
# back from the hole cards view and one from the table cards view) and one New Hand.
card_clicks() {
    local n=$1 i=0 round=$2 gx gy
    : >"$work/cards.txt"
    while ((i < n)); do
        for k in 0 1 2 3 4; do
            read -r gx gy < <(grid_point $(((round * 5 + k * 3) % 13)) $(((round + k) % 4)))
            click_line "$gx" "$gy" >>"$work/cards.txt"
        done
        click_line $((mx + 90)) $((my + 67)) >>"$work/cards.txt"   # a hole card (taken back)
        click_line $((mx + 125)) $((my + 168)) >>"$work/cards.txt"  # a board card (taken back)
        click_line $((mx + 441)) $((my + 436)) >>"$work/cards.txt"  # New Hand
        i=$((i + 8))
        round=$((round + 1))
    done
    run_batch "$work/cards.txt"
}

# menus N SEED: N right-clicks at points of the opponents view, on a marker (its menu) or
# beside one ("Add New"), each menu closed with Escape.
menus() {
    awk -v n="$1" -v seed="$2" -v mx="$mx" -v my="$my" 'BEGIN {
        srand(seed)
        for (i = 0; i < n; ++i) {
            x = mx + 20 + int(rand() * 280); y = my + 280 + int(rand() * 180)
            printf "mousemove %d %d\nsleep 0.02\nmousemove %d %d\nsleep 0.02\n", x, y, x + 1, y
            print "click 3\nsleep 0.12\nkey Escape\nsleep 0.06"
        }
    }' >"$work/menus.txt"
    run_batch "$work/menus.txt"
    expect_no_box
}

# The add-player dialog, opened from the "Add New" menu of an empty spot and cancelled.
spot_x="" spot_y=""
find_empty_spot() {
    local ox oy cx cy
    for candidate in "150 185" "40 40" "260 40" "150 100" "40 180" "260 180" "100 140" "200 60"; do
        read -r cx cy <<<"$candidate"
        import -window root -crop "40x32+$((mx + 11 + cx - 20))+$((my + 271 + cy - 16))" +repage \
            "$work/crop.png"
        if awk -v b="$(convert "$work/crop.png" -format '%[fx:mean]' info:)" 'BEGIN { exit !(b < 0.001) }'; then
            spot_x=$((mx + 11 + cx)) spot_y=$((my + 271 + cy))
            return
        fi
    done
    fail "no empty spot in the opponents view"
}

# dialogs N: each one a right-click on the empty spot, "Add New", and "Cancel" in the dialog.
dialogs() {
    local n=$1 add ax ay
    for _ in $(seq "$n"); do
        click_line "$spot_x" "$spot_y" 3 >"$work/dialog.txt"
        printf 'sleep 0.15\nmousemove %d %d\nsleep 0.02\nclick 1\n' $((spot_x + 20)) $((spot_y + 10)) \
            >>"$work/dialog.txt"
        run_batch "$work/dialog.txt"
        add=$(wait_window "Add New Player" 10)
        read -r ax ay < <(origin "$add")
        xdotool mousemove $((ax + 176)) $((ay + 100)) sleep 0.02 click 1  # "Cancel"
        wait_gone "Add New Player"
    done
}

start_x
start_program "$program"
click "$(wait_window "Precalculating Data")" 65 106  # "Quick Calculation"
main=$(wait_window "Tablewise Application" 120)
selection=$(wait_window "Card Selection Window")
wait_gone "Precalculating Data"
read -r mx my < <(origin "$main")
read -r sx sy < <(origin "$selection")
pause 1
find_empty_spot
start_rss=$(rss)

# Warm-up: 1,000 events of every kind, so that caches, pools and the allocator's arenas have
# reached their working size.
moves 600 1
card_clicks 240 0
menus 100 2
dialogs 20
moves 40 3
base=$(settled_rss)
echo "after start-up: ${start_rss} kB; after the warm-up: ${base} kB"

report() {
    local now
    now=$(settled_rss)
    echo "$1: ${now} kB ($((now - previous)) kB)"
    previous=$now
}

previous=$base
moves 10000 4
report "10,000 pointer moves without cards"
place_five 7 # the estimates run during the next moves
moves 10000 5
report "10,000 pointer moves with the estimates running"
card_clicks 496 9 # with the five above, 501 clicks
report "501 card clicks"
menus 300 6
report "300 popup menus"
dialogs 100
report "100 add-player dialogs"

growth=$((previous - base))
echo "growth after the warm-up: ${growth} kB (limit ${limit_kb} kB)"
((growth <= limit_kb)) || fail "resident memory grew by ${growth} kB"
quit_with_yes "$main"
echo "PASS: memory stays flat"
