// The starting-hand table: every two-card starting hand rated -100..100 by how it fares head
// to head against one random hand over random boards, filled one cell per tick of the
// precalculation dialog at start-up (appState.startingHandTable).
//
// A value is ((wins + ties / 2) / trials x 2 - 1) x 100: 100 always wins, -100 always loses,
// 0 wins as often as it loses. The work grows with the level (1 Quick, 2 Normal, 3 Detailed):
// (level^2 x 1500) / 4 boards with 2 x level opponents each, so 750, 6000 or 20250 trials.
#pragma once

#include "cards/card.h"
#include "odds/starting_hand_table.h"

// Moves the table's cursor to the next cell of the upper triangle, row by row from (0, 0) to
// (12, 12), counts it in appState.precalcCellsDone, has the precalculation dialog repaint at
// once, then computes the cell's offsuit value (and suited value off the diagonal, 0 on it)
// into both mirrored places. Returns true when the cell was (12, 12). Once the table is
// complete a further call changes nothing and returns true.
bool ComputeNextCell(int level);

// The value of the two distinct cards at the level (taken as 1..3, the nearest level for any
// other value), scored under Texas Hold'em rules whatever the variant in force. Draws from the
// program's generator in a fixed order, so a given generator state gives a given value.
double StartingHandEquity(const Card cards[2], int level);
