// The starting-hand table of the quick level, as start-up computes it from generator state 1.
#pragma once

#include "odds/starting_hand_table.h"

// Computed on the first call (in appState, which it resets first; the generator is left where
// the computation ends), the same table on every later call.
const StartingHandTable& QuickStartingHandTable();
