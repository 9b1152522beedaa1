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

// The maxima of many holes on one board under the variant in force, for callers that compare
// each with one score (the user's): the maximum tells a win, a tie and a loss as that score as
// threshold would, and a hand above it takes no search for its first set above.
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
