#include "tests/support/exact_final_hands.h"

#include "odds/evaluate_hand.h"

namespace {

// Fills board positions `position`..4 with increasing free cards from `from`, so that each set
// of missing cards is visited once.
void Complete(const Card* hole, Card board[5], bool used[], int position, Card from,
              HandTypeCounts& counts)
{
    if (position == 5) {
        ++counts[HandTypeOf(EvaluateHand(hole, board, NoThreshold))];
        return;
    }
    for (board[position] = from; board[position] < CardCount; ++board[position])
        if (!used[board[position]])
            Complete(hole, board, used, position + 1, board[position] + 1, counts);
}

}  // namespace

HandTypeCounts ExactFinalHandCounts(const Card hole[4], const Card* board, int known)
{
    bool used[CardCount] = {};
    Card full[5] = {NoCard, NoCard, NoCard, NoCard, NoCard};
    for (int i = 0; i < HoleCount(appState.gameVariant); ++i)
        used[hole[i]] = true;
    for (int i = 0; i < known; ++i)
        used[full[i] = board[i]] = true;
    HandTypeCounts counts{};
    Complete(hole, full, used, known, 0, counts);
    return counts;
}
