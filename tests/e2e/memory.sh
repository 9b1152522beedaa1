#!/usr/bin/env bash
# The resident memory of the real program must not grow with use. After Quick Calculation and
# a warm-up of every kind of event, the program gets 8,000 pointer moves over its four OpenGL
# areas (each one picks), 96 card clicks (placing, taking back, New Hand), 30 popup menus closed
# with Escape and 10 add-player dialogs cancelled; the test fails when VmRSS grew by more than
# 2 MB after the warm-up. Events go in batches, one xdotool call each; the program handles them
# in order, so the short sleeps only pace the stream.
# Usage: memory.sh path/to/tablewise
set -euo pipefail

program=$(realpath "$1")
work=$(mktemp -d)
export E2E_FAILURE_SHOT=${E2E_FAILURE_SHOT:-/tmp/tablewise-memory-failure.png}
# shellcheck source=tests/xvfb_session.sh
source "$(dirname "$(realpath "$0")")/../xvfb_session.sh"

limit_kb=${MEMORY_LIMIT_KB:-2048}

# Lets the program catch up with the events sent, then reports its resident set in kB (and the
# change since the last report).
report() {
    pause 1
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended"
    now=$(awk '/^VmRSS:/ { print $2 }' "/proc/$app_pid/status")
    echo "$1: ${now} kB ($((now - ${previous:-now})) kB)"
    previous=$now
}

# Runs the lines on standard input as one xdotool call.
run_batch() {
    cat >"$work/batch.txt"
    timeout 300 xdotool - <"$work/batch.txt" || fail "an xdotool batch failed"
}

# moves N SEED: N pointer moves, a quarter over each OpenGL area, at pseudo-random points
# strictly inside them (the same points on every run).
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
    }' | run_batch
}

# cards ROUNDS FIRST: rounds of five cards placed from the grid (two hole cards, flop and
# turn), one taken back from each card view and New Hand; KEEP, as third argument, leaves the
# last round's five cards placed, so that the estimates run.
cards() {
    local round gx gy k
    for ((round = $2; round < $2 + $1; ++round)); do
        for k in 0 1 2 3 4; do
            read -r gx gy < <(grid_point $(((round * 5 + k * 3) % 13)) $(((round + k) % 4)))
            click_line $((sx + gx)) $((sy + gy))
        done
        [[ -n "${3:-}" && $round -eq $(($2 + $1 - 1)) ]] && break
        click_line $((mx + 90)) $((my + 67))   # a hole card, taken back
        click_line $((mx + 125)) $((my + 168)) # a board card, taken back
        click_line $((mx + 441)) $((my + 436)) # New Hand
    done | run_batch
}

# menus N SEED: N right-clicks in the opponents view, on a marker (its menu) or beside one
# ("Add New"), each menu closed with Escape. An Escape that reached the main dialog instead
# would have asked "Really Quit?".
menus() {
    awk -v n="$1" -v seed="$2" -v mx="$mx" -v my="$my" 'BEGIN {
        srand(seed)
        for (i = 0; i < n; ++i) {
            x = mx + 20 + int(rand() * 280); y = my + 280 + int(rand() * 180)
            printf "mousemove %d %d\nsleep 0.02\nmousemove %d %d\nsleep 0.02\n", x, y, x + 1, y
            print "click 3\nsleep 0.12\nkey Escape\nsleep 0.06"
        }
    }' | run_batch
    if xdotool search --onlyvisible --name "^Quit Program\$" >/dev/null 2>&1; then
        fail "a stray Escape asked to quit"
    fi
}

# dialogs N: the add-player dialog N times, from the "Add New" menu of an empty spot, cancelled.
dialogs() {
    local add ax ay
    for _ in $(seq "$1"); do
        {
            click_line $((mx + spot_x)) $((my + spot_y)) 3
            printf 'sleep 0.15\nmousemove %d %d\nsleep 0.02\nclick 1\n' \
                $((mx + spot_x + 20)) $((my + spot_y + 10))
        } | run_batch
        add=$(wait_window "Add New Player" 10)
        read -r ax ay < <(origin "$add")
        xdotool mousemove $((ax + 176)) $((ay + 100)) sleep 0.02 click 1 # "Cancel"
        wait_gone "Add New Player"
    done
}

start_x
start_program "$program"
click "$(wait_window "Precalculating Data")" 65 106 # "Quick Calculation"
main=$(wait_window "Tablewise Application" 120)
selection=$(wait_window "Card Selection Window")
wait_gone "Precalculating Data"
read -r mx my < <(origin "$main")
read -r sx sy < <(origin "$selection")
pause 1
read -r spot_x spot_y < <(empty_spot "$main")

# Warm-up: every kind of event, so that caches, pools and the allocator's arenas have reached
# their working size.
moves 400 1
cards 6 0
menus 20 2
dialogs 5
moves 40 3
report "after the warm-up"
base=$previous

moves 4000 4
report "4,000 pointer moves without cards"
cards 1 7 keep
moves 4000 5
report "4,000 pointer moves with the estimates running"
cards 12 9
report "96 card clicks"
menus 30 6
report "30 popup menus"
dialogs 10
report "10 add-player dialogs"

growth=$((previous - base))
echo "growth after the warm-up: ${growth} kB (limit ${limit_kb} kB)"
((growth <= limit_kb)) || fail "resident memory grew by ${growth} kB"
quit_with_yes "$main"
echo "PASS: memory stays flat"
