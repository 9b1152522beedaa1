// Starting a new hand and refreshing the main dialog's texts.
#pragma once

#include "app/state.h"
#include "platform/platform.h"

// Reseeds the generator from the clock, empties the nine slots, clears both estimates, puts
// every player back into the hand and redraws the bars and texts.
void NewHand(Window dialog, CardBlock& cards);

// Rewrites the description of the user's hand and the three outcome percentages, then has the
// main dialog repaint (without invalidating anything).
void RefreshResults(Window dialog, CardBlock& cards);
