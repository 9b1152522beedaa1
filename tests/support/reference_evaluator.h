// The slow, literal evaluator that the table-driven one in cards/ is checked against.
//
// It follows the scoring steps one by one (counts per rank, the straight scan, kicker filling)
// and enumerates every five-card set, so it is easy to read against the rules and hard to get
// wrong. Same arguments, results and threshold rule as ScoreFive, EvaluateTexas and
// EvaluateOmaha.
#pragma once

#include "cards/card.h"

HandScore ReferenceScoreFive(const Card cards[5]);
HandScore ReferenceEvaluateTexas(const Card hole[4], const Card board[5], std::int32_t threshold);
HandScore ReferenceEvaluateOmaha(const Card hole[4], const Card board[5], std::int32_t threshold);
