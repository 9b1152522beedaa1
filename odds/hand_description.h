// The English sentence that tells a hand score, as the main dialog shows it
// ("Two pairs, Kings and Queens"). Only the category and the top one or two rank nibbles are
// named; kickers never are.
#pragma once

#include "cards/card.h"

#include <string>

// Appends the name of a rank value (1 or 14 Ace, 2..13 Two..King, 0 "<unknown>"), singular or
// plural. A value of 15 or more appends nothing and reports "ERROR CARD TYPE SCORE <value>" in
// a consistency message box (ShowConsistencyMessage).
void AppendRankName(std::string& text, unsigned rankValue, bool plural);

// The sentence for a score: "Royal Flush", "Pair of Aces", "No Hand" and so on.
std::string HandDescription(HandScore score);
