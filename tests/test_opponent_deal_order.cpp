// The opponent model's dealing is tuned for speed (bit sets, several generator steps at once);
// it must still draw exactly the cards, in exactly the order, that the plain rule draws.
#include "app/state.h"
#include "cards/step_window.h"
#include "odds/starting_hands.h"
#include "odds/win_estimate.h"
#include "tests/support/quick_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>

namespace {

bool PlainFitExists(const Player& player, const UsedCards& used, int h);

// The plain rule: draw h cards one at a time, rate them, take the bluff draw when they are too
// weak for a playing player, put them back and start again when not accepted. With `fitCheck`,
// give up at the check attempt when the deck holds no fitting hand (the hand stays drawn).
bool PlainDeal(const Player& player, Card hand[4], UsedCards& used, int h, bool fitCheck = false)
{
    const float threshold = HandBar(player.aggression);
    for (int attempt = 1;; ++attempt) {
        for (int i = 0; i < h; ++i)
            hand[i] = DrawUnusedCard(used);
        const float rating = GuessHand(hand);
        bool accepted;
        if (player.playing) {
            accepted = rating >= threshold;
            if (!accepted) {
                const int first = NextRandom();
                const int second = NextRandom();
                accepted = PassesBluffDraw(player.bluffing, first, second);
            }
        } else {
            accepted = rating < threshold;
        }
        if (accepted || attempt == MaxDealAttempts)
            return accepted;
        for (int i = 0; i < h; ++i)
            used[hand[i]] = 0;
        if (fitCheck && attempt == FitCheckAttempt && !PlainFitExists(player, used, h)) {
            for (int i = 0; i < h; ++i)
                used[hand[i]] = 1;
            return false;
        }
    }
}

// Deals one hand from `used` with the program's rule and with the plain one from the same seed:
// the same cards, the same answer, the same generator state and the same used cards.
void ExpectThePlainDeal(const Player& player, UsedCards used, int h, bool fitCheck,
                        std::uint32_t seed, bool& accepted)
{
    UsedCards plainUsed = used;
    Card hand[4] = {NoCard, NoCard, NoCard, NoCard};
    SeedRandom(seed);
    accepted = DealOpponentHand(player, hand, used, h);
    const std::uint32_t state = randomState;

    Card plainHand[4] = {NoCard, NoCard, NoCard, NoCard};
    SeedRandom(seed);
    ASSERT_EQ(accepted, PlainDeal(player, plainHand, plainUsed, h, fitCheck));
    for (int i = 0; i < 4; ++i)
        ASSERT_EQ(hand[i], plainHand[i]) << "card " << i;
    ASSERT_EQ(state, randomState);
    ASSERT_EQ(used.flag, plainUsed.flag);
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
        bool accepted = false;
        ASSERT_NO_FATAL_FAILURE(ExpectThePlainDeal(player, used, h, false, pick(), accepted))
            << trial;
    }
}

namespace {

// Whether some ordering of some h free cards makes a hand that fits the player without a
// bluff, by trying them all: the plain form of the early stop's check.
bool PlainFitExists(const Player& player, const UsedCards& used, int h)
{
    if (player.playing && player.bluffing > 0)
        return true;
    const float threshold = HandBar(player.aggression);
    Card hand[4] = {NoCard, NoCard, NoCard, NoCard};
    auto fits = [&] {
        const float rating = GuessHand(hand);
        return player.playing ? rating >= threshold : rating < threshold;
    };
    auto place = [&](auto&& self, int i) -> bool {
        if (i >= h || i >= 4)
            return fits();
        for (Card c = 0; c < CardCount; ++c) {
            if (used[c] == 1 || std::find(hand, hand + i, c) != hand + i)
                continue;
            hand[i] = c;
            if (self(self, i + 1))
                return true;
        }
        return false;
    };
    return place(place, 0);
}

}  // namespace

TEST(OpponentDeal, CrowdedDecksDrawExactlyTheCardsOfThePlainRule)
{
    // From 21 cards out to a deck of exactly one hand: the draws go through step windows, run
    // into hundreds of redraws and into the early stop.
    ResetAppState(appState);
    SeedRandom(1);
    for (int cell = 0; cell < StartingHandCells; ++cell)
        ComputeNextCell(QuickCalculation);

    std::mt19937 pick(11);
    int stopped = 0;
    for (int trial = 0; trial < 4000; ++trial) {
        appState.gameVariant = trial % 2 == 0 ? TexasHoldem : OmahaHoldem;
        const int h = HoleCount(appState.gameVariant);
        Player player;
        player.aggression = static_cast<int>(pick() % 11);
        player.bluffing = pick() % 3 == 0 ? static_cast<int>(pick() % 11) : 0;
        player.playing = pick() % 4 != 0;
        std::array<Card, CardCount> deck;
        for (Card c = 0; c < CardCount; ++c)
            deck[static_cast<std::size_t>(c)] = c;
        std::shuffle(deck.begin(), deck.end(), pick);
        const int out = 21 + static_cast<int>(pick() % static_cast<unsigned>(CardCount - h - 20));
        UsedCards used;
        for (int i = 0; i < out; ++i)
            used[deck[static_cast<std::size_t>(i)]] = 1;
        bool accepted = false;
        ASSERT_NO_FATAL_FAILURE(ExpectThePlainDeal(player, used, h, true, pick(), accepted))
            << trial;
        stopped += accepted ? 0 : 1;
    }
    EXPECT_GT(stopped, 40);  // the early stop came into it
}

TEST(OpponentDeal, StepWindowsHoldTheCardsOfSingleSteps)
{
    // Both ways of making a window (the AVX2 one where the processor has it) against the
    // generator stepped once at a time, for free sets from full to empty.
    std::mt19937_64 pick(3);
    for (int trial = 0; trial < 2000; ++trial) {
        const std::uint32_t base = static_cast<std::uint32_t>(pick());
        std::uint64_t freeMask = pick() & pick() & ((std::uint64_t{1} << CardCount) - 1);
        if (trial % 10 == 0)
            freeMask = trial % 20 == 0 ? 0 : (std::uint64_t{1} << CardCount) - 1;
        StepWindow expected;
        SeedRandom(base);
        expected.freeSteps = 0;
        for (int k = 0; k < StepWindow::Steps; ++k) {
            const Card card = RandomCard();
            expected.cards[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(card);
            expected.freeSteps |= ((freeMask >> card) & 1u) << k;
        }
        StepWindow portable;
        FillStepWindowPortable(portable, base, freeMask);
        ASSERT_EQ(portable.cards, expected.cards) << trial;
        ASSERT_EQ(portable.freeSteps, expected.freeSteps) << trial;
        if (StepWindowUsesAvx2()) {
#ifdef TABLEWISE_STEP_WINDOW_X86
            StepWindow wide;
            FillStepWindowAvx2(wide, base, freeMask);
            ASSERT_EQ(wide.cards, expected.cards) << trial;
            ASSERT_EQ(wide.freeSteps, expected.freeSteps) << trial;
#endif
        }
    }
}
