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
