// The card draw and the opponent model's dealing are tuned for speed (bit sets, several generator
// steps at once); they must still draw exactly the cards, in exactly the order, that the plain
// rules draw.
#include "app/state.h"
#include "cards/free_step_list.h"
#include "cards/step_window.h"
#include "odds/win_estimate.h"
#include "tests/support/quick_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <numeric>
#include <random>
#include <vector>

namespace {

// The plain draw: RandomCard again and again until the card is free.
Card PlainDraw(UsedCards& used)
{
    Card card = RandomCard();
    while (used[card] == 1)
        card = RandomCard();
    used[card] = 1;
    return card;
}

// Whether the hand fits the player without a bluff: at the bar or above for a playing player,
// below it for one who is not playing.
bool Fits(const Player& player, const Card hand[4])
{
    return (GuessHand(hand) >= HandBar(player.aggression)) == player.playing;
}

// Whether some ordering of some h free cards makes a hand that fits the player without a
// bluff, by trying them all: the plain form of the early stop's check.
bool PlainFitExists(const Player& player, const UsedCards& used, int h)
{
    if (player.playing && player.bluffing > 0)
        return true;
    Card hand[4] = {NoCard, NoCard, NoCard, NoCard};
    auto place = [&](auto&& self, int i) -> bool {
        if (i >= h || i >= 4)
            return Fits(player, hand);
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

// The plain rule: draw h cards one at a time, rate them, take the bluff draw when they are too
// weak for a playing player, put them back and start again when not accepted; at the check
// attempt, give up when the deck holds no fitting hand (the hand stays drawn).
bool PlainDeal(const Player& player, Card hand[4], UsedCards& used, int h)
{
    for (int attempt = 1;; ++attempt) {
        for (int i = 0; i < h; ++i)
            hand[i] = PlainDraw(used);
        bool accepted = Fits(player, hand);
        if (player.playing && !accepted) {
            const int first = NextRandom();
            accepted = PassesBluffDraw(player.bluffing, first, NextRandom());
        }
        if (accepted || attempt == MaxDealAttempts)
            return accepted;
        for (int i = 0; i < h; ++i)
            used[hand[i]] = 0;
        if (attempt == FitCheckAttempt && !PlainFitExists(player, used, h)) {
            for (int i = 0; i < h; ++i)
                used[hand[i]] = 1;
            return false;
        }
    }
}

}  // namespace

TEST(OpponentDeal, DrawsExactlyTheCardsOfThePlainRuleFromFullToCrowdedDecks)
{
    // A single card, then a hand, from a full deck to one of exactly one hand: the draws go direct
    // or through step windows, run into hundreds of redraws and into the early stop. Some Texas
    // deals use the empty table of before the precalculation, where every hand rates 0, right at
    // the bar of aggression 8.
    ResetAppState(appState);
    const StartingHandTable quickTable = QuickStartingHandTable();
    std::mt19937 pick(11);
    int stopped = 0;
    for (int trial = 0; trial < 7000; ++trial) {
        appState.gameVariant = trial % 2 == 0 ? TexasHoldem : OmahaHoldem;
        appState.startingHandTable = trial % 8 == 0 ? StartingHandTable{} : quickTable;
        const int h = HoleCount(appState.gameVariant);
        Player player;
        player.aggression = static_cast<int>(pick() % 11);
        player.bluffing = pick() % 3 == 0 ? static_cast<int>(pick() % 11) : 0;
        player.playing = pick() % 4 != 0;
        std::array<Card, CardCount> deck;
        std::iota(deck.begin(), deck.end(), 0);
        std::shuffle(deck.begin(), deck.end(), pick);
        UsedCards used;
        for (int i = static_cast<int>(pick() % static_cast<unsigned>(CardCount - h + 1)); i > 0;
             --i)
            used[deck[static_cast<std::size_t>(i)]] = 1;
        UsedCards plainUsed = used;

        // The same cards, the same answer, the same generator state and the same used cards.
        const std::uint32_t seed = static_cast<std::uint32_t>(pick());
        UsedCards drawUsed = used, plainDrawUsed = used;
        SeedRandom(seed);
        const Card drawn = DrawUnusedCard(drawUsed);
        const std::uint32_t afterDraw = randomState;
        SeedRandom(seed);
        ASSERT_EQ(drawn, PlainDraw(plainDrawUsed)) << trial;
        ASSERT_EQ(afterDraw, randomState) << trial;
        ASSERT_EQ(drawUsed.flag, plainDrawUsed.flag) << trial;
        Card hand[4] = {NoCard, NoCard, NoCard, NoCard};
        SeedRandom(seed);
        const bool accepted = DealOpponentHand(player, hand, used, h);
        const std::uint32_t state = randomState;
        Card plainHand[4] = {NoCard, NoCard, NoCard, NoCard};
        SeedRandom(seed);
        ASSERT_EQ(accepted, PlainDeal(player, plainHand, plainUsed, h)) << trial;
        ASSERT_TRUE(std::equal(hand, hand + 4, plainHand)) << trial;
        ASSERT_EQ(state, randomState) << trial;
        ASSERT_EQ(used.flag, plainUsed.flag) << trial;
        stopped += accepted ? 0 : 1;
    }
    EXPECT_GT(stopped, 40);  // the early stop came into it
}

TEST(OpponentDeal, StepWindowsHoldTheCardsOfSingleSteps)
{
    // Every way of making a window that the processor has, against the
    // generator stepped once at a time, for free sets from full to empty.
    std::mt19937_64 pick(3);
    for (int trial = 0; trial < 2000; ++trial) {
        const std::uint32_t base = static_cast<std::uint32_t>(pick());
        std::uint64_t freeMask = pick() & pick() & ((std::uint64_t{1} << CardCount) - 1);
        if (trial % 10 == 0)
            freeMask = trial % 20 == 0 ? 0 : (std::uint64_t{1} << CardCount) - 1;
        StepWindow expected;
        SeedRandom(base);
        for (int k = 0; k < StepWindow::Steps; ++k) {
            const Card card = RandomCard();
            expected.cards[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(card);
            expected.freeSteps |= ((freeMask >> card) & 1u) << k;
        }
        for (StepWindowKind kind :
             {StepWindowKind::Portable, StepWindowKind::Avx2, StepWindowKind::Avx512}) {
            if (!StepWindowKindSupported(kind))
                continue;
            StepWindow made;
            StepWindowMaker(freeMask, kind)(made, base);
            ASSERT_EQ(made.freeSteps, expected.freeSteps) << trial << " kind " << int(kind);
            ASSERT_EQ(made.cards, expected.cards) << trial << " kind " << int(kind);
        }
    }
}

TEST(OpponentDeal, FreeStepListsHoldTheFreeStepsOfSingleSteps)
{
    // Every way the processor has, read block after block far enough for the list to move down,
    // against the generator stepped once at a time: the entries and the links of each block, of
    // any size.
    std::mt19937_64 pick(5);
    for (int trial = 0; trial < 60; ++trial) {
        const std::uint32_t base = static_cast<std::uint32_t>(pick());
        std::uint64_t freeMask = pick() & pick() & ((std::uint64_t{1} << CardCount) - 1);
        freeMask |= std::uint64_t{3} << (pick() % (CardCount - 1));
        std::vector<std::pair<Card, std::uint32_t>> expected;  // card and step of each entry
        SeedRandom(base);
        for (std::uint32_t step = 1; expected.size() < 3000; ++step) {
            const Card card = RandomCard();
            if ((freeMask >> card) & 1u)
                expected.emplace_back(card, step);
        }
        const int reach = trial % 3;
        for (StepWindowKind kind :
             {StepWindowKind::Portable, StepWindowKind::Avx2, StepWindowKind::Avx512}) {
            if (!StepWindowKindSupported(kind))
                continue;
            FreeStepList list(freeMask, base, kind);
            FreeStepList::Block block;
            std::size_t first = 0;  // the entry of `expected` at the block's start
            for (int start = 0; first + 200 < expected.size();) {
                const int wanted = 3 + static_cast<int>(pick() % FreeStepList::FullBlock);
                list.BlockAt(start, reach, block, std::min(wanted, FreeStepList::FullBlock));
                ASSERT_GE(block.entries, std::min(wanted, FreeStepList::FullBlock));
                ASSERT_LE(block.entries, FreeStepList::FullBlock);
                std::array<std::size_t, 64> nexts{};
                for (std::size_t t = 0; t < 64; ++t) {
                    const auto [card, step] = expected[first + t];
                    if (int(t) < block.entries) {
                        ASSERT_EQ(list.CardAt(block.start + int(t)), card) << trial << " " << t;
                        ASSERT_EQ(list.StepAt(block.start + int(t)), step) << trial << " " << t;
                    }
                    std::size_t second = t + 1;
                    while (expected[first + second].first == card)
                        ++second;
                    std::size_t next = second + 1;
                    while (expected[first + next].second <=
                           expected[first + second].second + static_cast<std::uint32_t>(reach))
                        ++next;
                    const bool inside = second <= std::min<std::size_t>(63, block.entries - 3);
                    ASSERT_EQ(block.second[t], inside ? second : FreeStepList::Past) << trial;
                    ASSERT_EQ(block.next[t], inside ? next : FreeStepList::Past) << trial;
                    nexts[t] = inside ? next : 64;
                }
                std::array<std::size_t, 64> twos{};
                for (std::size_t t = 0; t < 64; ++t) {
                    const bool two = nexts[t] < 64 && nexts[nexts[t]] < 64;
                    twos[t] = two ? nexts[nexts[t]] : 64;
                    ASSERT_EQ(block.nextTwo[t], two ? twos[t] : FreeStepList::Past);
                }
                for (std::size_t t = 0; t < 64; ++t) {
                    const bool four = twos[t] < 64 && twos[twos[t]] < 64;
                    ASSERT_EQ(block.nextFour[t], four ? twos[twos[t]] : FreeStepList::Past);
                }
                const int move = 1 + static_cast<int>(pick() % unsigned(block.entries));
                start = block.start + move;
                first += static_cast<std::size_t>(move);
            }
            ASSERT_EQ(list.StateAfter(expected.back().second), randomState) << trial;
        }
    }
}
