// Hand evaluator: the score of the best five-card hand that a variant's rules allow
// (EvaluateHand in odds/evaluate_hand.h picks the variant in force).
//
// Texas Hold'em takes the best 5 of hole slots 0..1 plus the five board slots (21 sets);
// Omaha Hold'em takes exactly two of hole slots 0..3 and three of the board (60 sets). Any
// slot may hold NoCard; such entries are skipped and the score reflects the cards present.
//
// Threshold rule, shared by both: the sets are visited in their fixed order and the first set
// whose score is above the threshold is returned at once; when none is, the exact maximum is
// returned. With NoThreshold the result is always the maximum. A caller comparing an opponent
// against the hero's score can therefore tell a win, a tie and a loss apart.
#pragma once

#include "cards/card.h"

inline constexpr std::int32_t NoThreshold = 0x4000000;  // above every score (< 0xA00000)

// Scores one set of five slots; NoCard entries are skipped, no card at all scores 0.
HandScore ScoreFive(const Card cards[5]);

// The Omaha enumeration: two hole cards and three board cards, 60 sets.
HandScore EvaluateOmaha(const Card hole[4], const Card board[5], std::int32_t threshold);

// The Texas enumeration without reading the variant (hole slots 0 and 1 only).
HandScore EvaluateTexas(const Card hole[4], const Card board[5], std::int32_t threshold);
