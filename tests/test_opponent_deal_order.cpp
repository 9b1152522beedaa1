// The opponent model's dealing is tuned for speed (bit sets, several generator steps at once);
// it must still draw exactly the cards, in exactly the order, that the plain rule draws.
#include "app/state.h"
#include "odds/win_estimate.h"
#include "tests/support/quick_table.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// The plain rule: draw h cards one at a time, rate them, take the bluff draw when they are too
// weak for a playing player, put them back and start again when not accepted.
bool PlainDeal(const Player& player, Card hand[4], UsedCards& used, int h)
{
    const float threshold = static_cast<float>((8 - player.aggression) * 2);
    for (int attempt = 1;; ++attempt) {
        for (int i = 0; i < h; ++i)
            hand[i] = DrawUnusedCard(used);
        const float rating = GuessHand(hand);
        bool accepted;
        if (player.playing) {
            accepted = rating >= threshold;
            if (!accepted) {
                const int b =
                    static_cast<int>(NextRandom() * (player.bluffing + 1) * (1.0 / 32768));
                const int r = static_cast<int>(NextRandom() * 20 * (1.0 / 32768));
                accepted = b > r;
            }
        } else {
            accepted = rating < threshold;
        }
        if (accepted || attempt == MaxDealAttempts)
            return accepted;
        for (int i = 0; i < h; ++i)
            used[hand[i]] = 0;
    }
}

}  // namespace

TEST(OpponentDeal, DrawsExactlyTheCardsOfThePlainRule)
{
    ResetAppState(appState);
    appState.startingHandTable = QuickStartingHandTable();

    std::mt19937 pick(5);
    for (int trial = 0; trial < 3000; ++trial) {
        appState.gameVariant = trial % 2 == 0 ? TexasHoldem : OmahaHoldem;
        const int h = HoleCount(appState.gameVariant);
        Player player;
        player.aggression = static_cast<int>(pick() % 11);
        player.bluffing = static_cast<int>(pick() % 11);
        player.playing = pick() % 4 != 0;
        // Up to 20 cards already out: a fitting hand always remains, so the early stop for an
        // exhausted deck never comes into it.
        UsedCards used;
        const int out = static_cast<int>(pick() % 21);
        for (int i = 0; i < out; ++i)
            used[static_cast<Card>(pick() % 52)] = 1;
        UsedCards plainUsed = used;
        const std::uint32_t seed = pick();

        Card hand[4] = {NoCard, NoCard, NoCard, NoCard};
        SeedRandom(seed);
        const bool accepted = DealOpponentHand(player, hand, used, h);
        const std::uint32_t state = randomState;

        Card plainHand[4] = {NoCard, NoCard, NoCard, NoCard};
        SeedRandom(seed);
        const bool plainAccepted = PlainDeal(player, plainHand, plainUsed, h);

        ASSERT_EQ(accepted, plainAccepted) << trial;
        for (int i = 0; i < 4; ++i)
            ASSERT_EQ(hand[i], plainHand[i]) << trial << " card " << i;
        ASSERT_EQ(state, randomState) << trial;
        ASSERT_EQ(used.flag, plainUsed.flag) << trial;
    }
}
