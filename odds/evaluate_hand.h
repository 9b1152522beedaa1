// The evaluator under the variant in force.
#pragma once

#include "app/state.h"
#include "cards/evaluator.h"

// The score of the best hand under appState.gameVariant's rules (1 Omaha, anything else Texas).
inline HandScore EvaluateHand(const Card hole[4], const Card board[5], std::int32_t threshold)
{
    if (appState.gameVariant == OmahaHoldem)
        return EvaluateOmaha(hole, board, threshold);
    return EvaluateTexas(hole, board, threshold);
}

// The maxima of many holes on one board under the variant in force. A caller that only compares
// each with one score (the user's) learns as much as through that score as threshold, and a
// hand above it then takes no search for its first set above.
class BoardScorer {
public:
    explicit BoardScorer(const Card board[5])
        : texas_(board), omaha_(appState.gameVariant == OmahaHoldem)
    {
    }

    HandScore Best(const Card hole[4]) const
    {
        return omaha_ ? EvaluateOmaha(hole, texas_.cards, NoThreshold)
                      : BestTexasOnBoard(texas_, hole);
    }

private:
    TexasBoard texas_;
    bool omaha_;
};
