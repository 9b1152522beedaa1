#include "tests/support/exact_final_hands.h"

#include "odds/evaluate_hand.h"

namespace {

struct Enumeration {
    const Card* hole;
    Card board[5];
    bool used[CardCount];
    HandTypeCounts counts;
};

// Fills board positions `position`..4 with increasing free cards starting at `from`, so each
// set of missing cards is visited once.
void Complete(Enumeration& e, int position, Card from)
{
    if (position == 5) {
        ++e.counts[HandTypeOf(EvaluateHand(e.hole, e.board, NoThreshold))];
        return;
    }
    for (Card c = from; c < CardCount; ++c) {
        if (e.used[c])
            continue;
        e.board[position] = c;
        Complete(e, position + 1, c + 1);
    }
}

}  // namespace

HandTypeCounts ExactFinalHandCounts(const Card hole[4], const Card* board, int known)
{
    Enumeration e{hole, {NoCard, NoCard, NoCard, NoCard, NoCard}, {}, {}};
    for (int i = 0; i < HoleCount(appState.gameVariant); ++i)
        if (hole[i] != NoCard)
            e.used[hole[i]] = true;
    for (int i = 0; i < known; ++i) {
        e.board[i] = board[i];
        e.used[board[i]] = true;
    }
    Complete(e, known, 0);
    return e.counts;
}

std::array<double, HandTypeCount> FinalHandProportions(const HandTypeCounts& counts)
{
    double total = 0;
    for (int c : counts)
        total += c;
    std::array<double, HandTypeCount> p{};
    for (int i = 0; i < HandTypeCount; ++i)
        p[static_cast<std::size_t>(i)] =
            total > 0 ? counts[static_cast<std::size_t>(i)] / total : 0;
    return p;
}
