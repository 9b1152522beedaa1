// Exact final-hand distributions for the tests, scored with the program's evaluator under the
// variant in force.
#pragma once

#include "app/state.h"
#include "cards/card.h"

// All 133,784,560 seven-card hands by category: the final hands when no card is known.
inline constexpr HandTypeCounts SevenCardHandCounts = {
    23294460, 58627800, 31433400, 6461620, 6180020, 4047644, 3473184, 224848, 37260, 4324};

// The hand-type counts over every unordered set of the missing board cards, for a complete hole
// (the variant's slots all hold cards) and `known` board cards at board[0..known-1].
// C(50, 5) = 2,118,760 boards for a Texas hole and no board.
HandTypeCounts ExactFinalHandCounts(const Card hole[4], const Card* board, int known);
