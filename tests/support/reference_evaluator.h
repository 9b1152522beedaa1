// The slow, literal evaluator that the table-driven one in cards/ is checked against.
//
// It sorts a set's ranks into groups (largest group first, higher rank first), reads the
// category off the groups and packs their rank values in that order, and it enumerates every
// five-card set, so it is easy to read against the rules and shares no step with the tables. Same
// arguments, results and threshold rule as ScoreFive, EvaluateTexas and EvaluateOmaha.
#pragma once

#include "cards/card.h"

HandScore ReferenceScoreFive(const Card cards[5]);
HandScore ReferenceEvaluateTexas(const Card hole[4], const Card board[5], std::int32_t threshold);
HandScore ReferenceEvaluateOmaha(const Card hole[4], const Card board[5], std::int32_t threshold);
