// A slow, obvious reference for the win estimate's tests: exact heads-up enumeration.
#pragma once

#include "cards/card.h"

// Exact shares of the hero's wins, ties and losses in Texas Hold'em against one random
// opponent: every opponent hand and every completion of the board slots that hold NoCard (at
// most two) is weighed equally.
struct ExactShares {
    double win = 0;
    double tie = 0;
    double loss = 0;
};
ExactShares ExactHeadsUpShares(const Card hole[2], const Card board[5]);
