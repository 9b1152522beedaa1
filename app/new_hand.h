// Starting a new hand and refreshing the main dialog's texts.
#pragma once

#include "app/state.h"
#include "platform/platform.h"

// Reseeds the generator from the clock, resets the state for a new hand (ResetForNewHand), and
// redraws the bars and the texts, the three outcome percentages among them.
void NewHand(Window dialog, AppState& state);

// Rewrites the description of the user's hand and the three outcome percentages, then has the
// main dialog repaint (without invalidating anything).
void RefreshResults(Window dialog, CardBlock& cards);

// Sets the sentence for the score (HandDescription) as the text of the dialog's control.
void DescribeHand(Window dialog, int controlId, HandScore score);
