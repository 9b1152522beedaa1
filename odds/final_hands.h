// The final-hand distribution: how the user's hand finishes once all five board cards are out,
// counted per HandType into appState.handTypeCounts, and the best hand that the known cards
// still allow, for the main dialog's "Best Possible" field.
//
// Where few cards are missing every completion is counted exactly; otherwise random
// completions are sampled in batches. The main dialog's timer calls the advance once per tick
// while the counters sum to less than FinalHandCountCap.
#pragma once

#include "cards/card.h"
#include "odds/screen.h"

inline constexpr int FinalHandBatchSize = 5000;   // samples per call when sampling
inline constexpr int FinalHandRedrawEvery = 100;  // bar redraw at samples 0, 100, .., 4900
inline constexpr int FinalHandCountCap = 50000;   // the caller stops once the counts reach it

// One step of the estimate: writes the best possible hand into the main dialog, then adds one
// sampling batch (hole incomplete, or fewer than three board cards known) or one full
// enumeration of the missing board cards (complete hole, three to five board cards known) to
// the counters, redrawing the bars as it goes. Every tick of an enumeration adds the same
// counts again: 2162 per tick with a Texas flop, 1980 with an Omaha flop (ordered pairs of
// turn and river), 46 or 44 with the turn known, 1 with the river known.
void AdvanceFinalHandDistribution();

// One batch of FinalHandBatchSize samples. `k` (0..5) board cards are known at board[0..k-1];
// board[k..4] are written by every sample. `used` has every known card marked and is left as
// it was found. `hole` is the four hole slots of the state; the variant's slots holding NoCard
// are drawn, in slot order after the known ones. The bars are redrawn at every hundredth
// sample, starting with the first, and once after the batch.
void SampleFinalHands(int k, Card board[5], UsedCards& used, const Card hole[4]);

// An upper estimate of the best hand that the known hole and board cards still allow, with
// every missing card taken as the card that helps most and all known cards as one pool (the
// Omaha two-plus-three rule is not applied). Returns the exact score when every card is known;
// otherwise a representative score of the category (a Flush without ranks, 0x500000). Shows a
// "Warning - best hand error" box, owned by the main dialog, if three or more cards are missing
// and no category above Straight was reached, which consistent cards never allow.
HandScore BestPossibleHand();
