// Exact final-hand distributions for the tests: every completion of the board counted once,
// scored with the program's evaluator under the variant in force.
#pragma once

#include "app/state.h"
#include "cards/card.h"

#include <array>

// The hand-type counts over every unordered set of the missing board cards, for a complete hole
// (the four slots of the state; the variant's slots must all hold cards) and `known` board
// cards at board[0..known-1]. C(50, 5) = 2,118,760 boards for a Texas hole and no board.
HandTypeCounts ExactFinalHandCounts(const Card hole[4], const Card* board, int known);

// The counts as probabilities.
std::array<double, HandTypeCount> FinalHandProportions(const HandTypeCounts& counts);
