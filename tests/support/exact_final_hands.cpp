#include "tests/support/exact_final_hands.h"

#include "odds/evaluate_hand.h"

HandTypeCounts ExactFinalHandCounts(const Card hole[4], const Card* board, int known)
{
    bool used[CardCount] = {};
    Card full[5] = {NoCard, NoCard, NoCard, NoCard, NoCard};
    for (int i = 0; i < HoleCount(appState.gameVariant); ++i)
        used[hole[i]] = true;
    for (int i = 0; i < known; ++i)
        used[full[i] = board[i]] = true;
    HandTypeCounts counts{};
    // Fills board slots `position`..4 with increasing free cards from `from`, so that each set of
    // missing cards is visited once.
    auto complete = [&](auto&& self, int position, Card from) -> void {
        if (position == 5)
            return void(++counts[HandTypeOf(EvaluateHand(hole, full, NoThreshold))]);
        for (full[position] = from; full[position] < CardCount; ++full[position])
            if (!used[full[position]])
                self(self, position + 1, full[position] + 1);
    };
    complete(complete, known, 0);
    return counts;
}
