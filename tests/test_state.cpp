#include "app/state.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

AppState StateWithResults()
{
    AppState state;
    state.handTypeCounts.fill(7);
    state.outcomeCounts = {600, 20, 380};
    state.holeCards = {1, 2, 3, 4};
    state.tableCards = {10, 11, 12, NoCard, 14};
    for (int i = 0; i < 3; ++i) {
        Player p;
        p.playing = i != 1;
        state.roster.append(p);
    }
    return state;
}

}  // namespace

// The outcome counters hold far more than thirty hours of deals at 20,000 deals a second.
static_assert(std::numeric_limits<decltype(OutcomeCounts::wins)>::max() / 20000 / 3600 > 30);

TEST(ResetRules, NewHandEmptiesTheDealAndPutsEveryoneBackIn)
{
    AppState state = StateWithResults();
    ResetForNewHand(state);
    for (Card c : state.holeCards)
        EXPECT_EQ(c, NoCard);
    for (Card c : state.tableCards)
        EXPECT_EQ(c, NoCard);
    for (int n : state.handTypeCounts)
        EXPECT_EQ(n, 0);
    EXPECT_EQ(state.outcomeCounts.total(), 0);
    for (int i = 0; i < state.roster.count(); ++i)
        EXPECT_TRUE(state.roster.at(i).playing);
}

TEST(ResetRules, VariantToggleKeepsTheFirstTwoHoleCardsAndTheBoard)
{
    AppState state = StateWithResults();
    state.gameVariant = OmahaHoldem;
    ResetForVariantToggle(state);
    EXPECT_EQ(state.gameVariant, TexasHoldem);
    EXPECT_EQ(state.holeCards[0], 1);
    EXPECT_EQ(state.holeCards[1], 2);
    EXPECT_EQ(state.holeCards[2], NoCard);
    EXPECT_EQ(state.holeCards[3], NoCard);
    EXPECT_EQ(state.tableCards[4], 14);
    EXPECT_EQ(state.outcomeCounts.total(), 0);
    for (int n : state.handTypeCounts)
        EXPECT_EQ(n, 0);

    ResetForVariantToggle(state);
    EXPECT_EQ(state.gameVariant, OmahaHoldem);
    ResetForVariantToggle(state);
    EXPECT_EQ(state.gameVariant, TexasHoldem);
}

TEST(ResetRules, OpponentChangesClearOnlyTheWinEstimate)
{
    AppState state = StateWithResults();
    ResetForOpponentChange(state);
    EXPECT_EQ(state.outcomeCounts.total(), 0);
    for (int n : state.handTypeCounts)
        EXPECT_EQ(n, 7);  // the final-hand distribution does not depend on the opponents
    EXPECT_FALSE(state.roster.at(1).playing);

    state = StateWithResults();
    ResetForDealChange(state);
    EXPECT_EQ(state.outcomeCounts.total(), 0);
    for (int n : state.handTypeCounts)
        EXPECT_EQ(n, 0);
    EXPECT_EQ(state.holeCards[0], 1);  // the picking itself changes the slots
}
