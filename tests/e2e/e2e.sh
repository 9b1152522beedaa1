#!/usr/bin/env bash
# End-to-end tests of the real program under Xvfb, driven with xdotool; pictures are checked
# with ImageMagick. Usage: e2e.sh path/to/tablewise
set -euo pipefail

program=$(realpath "$1")
work=$(mktemp -d)
export E2E_FAILURE_SHOT=${E2E_FAILURE_SHOT:-/tmp/tablewise-e2e-failure.png}
# shellcheck source=tests/xvfb_session.sh
source "$(dirname "$(realpath "$0")")/../xvfb_session.sh"

start_x

if [[ -z "${E2E_SHORT:-}" ]]; then
    echo "== closing the precalculation dialog ends the program with 0"
    start_program "$program"
    precalc=$(wait_window "Precalculating Data")
    key "$precalc" Escape
    expect_exit 0
fi

echo "== a whole session"
start_program "$program"
precalc=$(wait_window "Precalculating Data")
click "$precalc" 65 106  # "Quick Calculation"
main=$(wait_window "Tablewise Application" 120)
selection=$(wait_window "Card Selection Window")
wait_gone "Precalculating Data"
eval "$(xdotool getwindowgeometry --shell "$selection")"
[[ "$X,$Y" == "10,10" ]] || fail "card selection window at $X,$Y"
[[ "${WIDTH}x${HEIGHT}" == "400x180" ]] || fail "card selection window ${WIDTH}x${HEIGHT}"
pause 1

hand_before=$(brightness "$main" 23 36 208 63)
table_before=$(brightness "$main" 23 137 208 63)
above 0.01 "$hand_before" || fail "the hand view is not black before any card ($hand_before)"
above 0.01 "$table_before" || fail "the table view is not black before any card"

for card in "0 3" "0 2" "12 3" "11 3" "10 3"; do  # A♠ A♥ then K♠ Q♠ J♠
    read -r gx gy < <(grid_point $card)
    click "$selection" "$gx" "$gy"
done
pause 1
if [[ -n "${E2E_SHORT:-}" ]]; then  # start, a few clicks and quit (for slow wrappers)
    pause 2
    quit_with_yes "$main"
    echo "PASS: end-to-end (short)"
    exit 0
fi
hand_after=$(brightness "$main" 23 36 208 63)
table_after=$(brightness "$main" 23 137 208 63)
above "$hand_after" 0.05 || fail "the hand view shows no cards ($hand_after)"
above "$table_after" 0.05 || fail "the table view shows no cards ($table_after)"
# The chosen cards left their cells of the grid black.
above 0.05 "$(brightness "$selection" 12 12 16 30)" || fail "the Ace of spades is still in the grid"

# The estimates run: the gain view shows a number.
pause 2
above "$(brightness "$main" 362 325 150 28)" 0.01 || fail "the gain view shows nothing"

# Typed cards: Return presses the focused "New Hand"; the spaces typed between the cards press
# nothing. Control+C copies the summary (CLIPBOARD and PRIMARY), Backspace takes back the 4c, and
# the card selection window takes a card too.
key "$main" Return
xdotool type --delay 60 "As Kd "
xdotool type --delay 60 "Th Jd 4c"
copied() { pause 0.5 && xdotool key ctrl+c && pause 0.3 && xclip -o -selection "${1:-clipboard}"; }
summary=$(copied)
[[ "$summary" == *$'\nHand: As Kd\nBoard: Th Jd 4c\nHand type: High Card (Ace)\n'* ]] ||
    fail "clipboard after typing: $summary"
[[ "$(xclip -o -selection primary)" == "$summary" ]] || fail "PRIMARY differs from CLIPBOARD"
xdotool key BackSpace
[[ "$(copied)" == *$'\nBoard: Th Jd\n'* ]] || fail "Backspace did not take back the 4c"
key "$selection" 2
xdotool type "c"
[[ "$(copied)" == *$'\nBoard: Th Jd 2c\n'* ]] || fail "the card selection window took no card"
xdotool key Escape # means nothing there: the window stays
pause 0.3
xdotool search --onlyvisible --name "^Card Selection Window\$" >/dev/null || fail "Escape hid it"
xdotool windowfocus "$main"

# A right-click on an empty spot of the opponents view offers "Add New"; the dialog adds one.
read -r cx cy < <(empty_spot "$main")
corner_before=$(brightness "$main" 13 453 28 16)
click "$main" "$cx" "$cy" 3
pause 0.5
read -r mx my < <(xdotool getmouselocation --shell | awk -F= '/^X/{x=$2}/^Y/{y=$2}END{print x, y}')
xdotool mousemove $((mx + 20)) $((my + 10)) click 1  # the menu's one item
add=$(wait_window "Add New Player" 10)
xdotool key Return  # the new dialog has the keyboard: no click, no focus asked for
wait_gone "Add New Player"
pause 1
corner_after=$(brightness "$main" 13 453 28 16)
above "$corner_after" "$corner_before" || fail "no new marker at the bottom left ($corner_before -> $corner_after)"

# Escape asks "Really Quit?", in a box at the screen's centre; Yes ends the program with 2. The
# main dialog has the keyboard back, wherever the pointer is.
xdotool mousemove 1279 1023
pause 0.3
xdotool key Escape
box=$(wait_window "Quit Program" 10)
expect_centred "$box"
xdotool key Return
expect_exit 2

echo "== under a window manager (openbox)"
start_wm
start_program "$program"
click "$(wait_window "Precalculating Data")" 65 106
main=$(wait_window "Tablewise Application" 120)
selection=$(wait_window "Card Selection Window")
for _ in $(seq 50); do
    extents=$(xprop -id "$selection" _NET_FRAME_EXTENTS | sed -n 's/.* = //p' | tr -d ,)
    [[ -n "$extents" ]] && break
    sleep 0.1
done
read -r left _ top _ <<<"$extents"
[[ -n "$top" ]] || fail "openbox set no frame extents"
pause 1
# The frame's top-left corner at (10, 10), the client area 400 x 180.
read -r x y < <(origin "$selection")
[[ "$((x - left)),$((y - top))" == "10,10" ]] ||
    fail "card selection frame at $((x - left)),$((y - top)) (client $x,$y)"
[[ "$(client_size "$selection")" == "400x180" ]] || fail "card selection window $(client_size "$selection")"
# Every window has the program's class and icon; the fixed-size dialog cannot be maximised.
for window in "$main" "$selection"; do
    [[ "$(xprop -id "$window" WM_CLASS)" == *'"tablewise", "Tablewise"' ]] ||
        fail "window class: $(xprop -id "$window" WM_CLASS)"
    icon=$(xprop -id "$window" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | tr '\n' ' ')
    [[ "$icon" == *"(16 x 16)"*"(32 x 32)"*"(128 x 128)"* ]] || fail "window icon: $icon"
done
if xprop -id "$main" _NET_WM_ALLOWED_ACTIONS | grep -q MAXIMIZE; then
    fail "the main dialog can be maximised"
fi
# No click: the main dialog has the keyboard, and so has the box Escape opens.
xdotool key Escape
box=$(wait_window "Quit Program" 10)
expect_centred "$box"
pause 0.5
xdotool key Return
expect_exit 2

echo "PASS: end-to-end"
