// Cards typed on the keyboard, in the main dialog and in the card selection window: a rank
// (A K Q J T 9 .. 2, or 10) then a suit (s h d c) places that card as a click on it in the card
// selection window does; Backspace or Delete takes back the card placed last as a click on it
// in the hand or table view does; Control+C copies the summary of the main dialog.
#pragma once

#include "cards/card.h"
#include "platform/platform.h"

#include <string_view>

// The card notation: a rank letter by rank index, then a suit letter by suit.
inline constexpr std::string_view RankLetters = "A23456789TJQK";
inline constexpr std::string_view SuitLetters = "cdhs";

// A window procedure's answer to KeyDown and Char: 1 when the key was taken, 0 to leave it to
// its usual meaning. Rules:
// - A rank waits for its suit; anything else typed after it drops it (a later rank replaces
//   it). A card already placed, or one with every slot of the variant full, changes nothing.
// - Spaces and commas right after a typed card, a waiting rank or any other typed character (a
//   typo) are separators and do nothing else (a waiting rank is dropped all the same); "right
//   after" means nothing happened between: same window, same focus, the same cards in the
//   slots. Any other space keeps its meaning (it presses the focused button).
// - Backspace and Delete take back LastPlacedCard(); with none placed they do nothing.
int OnTypedKey(Window window, Message message, const MessageParams& params);
