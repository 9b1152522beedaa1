// The final-hand distribution: sampled and enumerated counts, bar redraws, best possible hand.
#include "odds/final_hands.h"

#include "app/result_bars.h"
#include "app/state.h"
#include "odds/evaluate_hand.h"
#include "platform/headless/headless.h"
#include "tests/support/card_text.h"
#include "tests/support/exact_final_hands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr double Tolerance = 4.0;  // standard errors per category

int Total()
{
    return std::accumulate(appState.handTypeCounts.begin(), appState.handTypeCounts.end(), 0);
}

// Each category's count lies within Tolerance binomial standard errors of its expectation.
void ExpectSampledFrom(const std::array<double, HandTypeCount>& p)
{
    const double n = Total();
    for (std::size_t i = 0; i < HandTypeCount; ++i)
        EXPECT_LE(std::abs(appState.handTypeCounts[i] - n * p[i]),
                  Tolerance * std::sqrt(n * p[i] * (1 - p[i])))
            << "category " << i << ": " << appState.handTypeCounts[i] << " counted of " << n;
}

// The timer's loop: advance while the counters sum to less than the cap. Returns the ticks.
int RunUntilCapped()
{
    int ticks = 0;
    for (; Total() < FinalHandCountCap; ++ticks)
        AdvanceFinalHandDistribution();
    return ticks;
}

// A deal of the hole and board cards, with the counts cleared.
void Deal(std::string_view hole, std::string_view board = "")
{
    appState.holeCards = Cards<4>(hole);
    appState.tableCards = Cards<5>(board);
    ClearHandTypeCounts(appState);
}

class FinalHands : public ::testing::Test {
protected:
    void SetUp() override
    {
        HeadlessReset();
        ResetAppState(appState);
        CreateDrawingObjects();
        appState.mainDialog = CreateModelessDialog(101, nullptr, nullptr);
        SeedRandom(20240601);
    }

    void TearDown() override
    {
        ResetAppState(appState);
        HeadlessReset();
    }
};

}  // namespace

TEST_F(FinalHands, WithoutBoardTenBatchesMatchTheExactOdds)
{
    // No cards: the seven-card category odds; a complete hole: every board counted.
    const HandTypeCounts sevenCardHands = {23294460, 58627800, 31433400, 6461620, 6180020,
                                           4047644,  3473184,  224848,   37260,   4324};
    for (const char* hole : {"", "As Ah", "As Ks 7h 7d"}) {
        SCOPED_TRACE(hole);
        appState.gameVariant = std::string_view(hole).size() > 5 ? OmahaHoldem : TexasHoldem;
        Deal(hole);
        AdvanceFinalHandDistribution();
        EXPECT_EQ(Total(), FinalHandBatchSize);
        EXPECT_EQ(ControlText(appState.mainDialog, BestPossibleControl), "Royal Flush");
        EXPECT_EQ(RunUntilCapped(), 9);
        ExpectSampledFrom(FinalHandProportions(
            *hole ? ExactFinalHandCounts(appState.holeCards.data(), nullptr, 0) : sevenCardHands));
    }
    EXPECT_TRUE(HeadlessMessageBoxes().empty());
}

TEST_F(FinalHands, OneMissingHoleCardWithAFullBoardDrawsOnlyThatCard)
{
    Deal("-- 7c", "Ah Kh Qh Jh 2s");
    const auto board = appState.tableCards;
    AdvanceFinalHandDistribution();
    EXPECT_EQ(Total(), FinalHandBatchSize);
    EXPECT_EQ(appState.tableCards, board);
    HandTypeCounts exact{};
    for (Card c = 0; c < CardCount; ++c) {
        const Card hole[4] = {c, appState.holeCards[1], NoCard, NoCard};
        if (c != hole[1] && std::find(board.begin(), board.end(), c) == board.end())
            ++exact[HandTypeOf(EvaluateHand(hole, board.data(), NoThreshold))];
    }
    EXPECT_EQ(exact[RoyalFlush], 1);  // only the Ten of Hearts, one chance in 45
    ExpectSampledFrom(FinalHandProportions(exact));
}

TEST_F(FinalHands, BoardCardsWithGapsCountAsTheSameCardsAtTheFront)
{
    // An incomplete hole: the same draws as with the cards laid out in slots 0 to 2.
    HandTypeCounts counts[2];
    for (int i = 0; i < 2; ++i) {
        Deal("Jc --", i == 0 ? "-- 9c Tc -- 2h" : "9c Tc 2h");
        SeedRandom(77);
        AdvanceFinalHandDistribution();
        counts[i] = appState.handTypeCounts;
    }
    EXPECT_EQ(counts[0], counts[1]);
    EXPECT_EQ(Total(), FinalHandBatchSize);
}

TEST_F(FinalHands, AKnownFlopTurnOrRiverIsCountedInFullOnEveryTick)
{
    struct Case {
        GameVariant variant;
        const char* board;  // with gaps: the same as the cards at the front
        int known, perTick, ticksToCap;
    };
    for (Case c :
         {Case{TexasHoldem, "Qs Js 2d", 3, 2162, 24},
          Case{TexasHoldem, "-- Qs Js -- 2d", 3, 2162, 0},
          Case{TexasHoldem, "Qs Js 2d 3c", 4, 46, 0}, Case{TexasHoldem, "Qs Js 2d 3c Ts", 5, 1, 0},
          Case{OmahaHoldem, "Qs Js 2d", 3, 1980, 26}, Case{OmahaHoldem, "Qs Js 2d 3c", 4, 44, 0},
          Case{OmahaHoldem, "Qs Js 2d 3c Ts", 5, 1, 0}}) {
        SCOPED_TRACE(testing::Message() << c.variant << " with " << c.board);
        appState.gameVariant = c.variant;
        Deal(c.variant == TexasHoldem ? "As Ks" : "As Ks Tc Td", c.board);
        Card front[5];
        std::remove_copy(appState.tableCards.begin(), appState.tableCards.end(), front, NoCard);
        HandTypeCounts exact = ExactFinalHandCounts(appState.holeCards.data(), front, c.known);
        for (int& count : exact)  // a flop's turn and river come in either order
            count *= c.known == 3 ? 2 : 1;
        AdvanceFinalHandDistribution();
        EXPECT_EQ(appState.handTypeCounts, exact);
        EXPECT_EQ(Total(), c.perTick);
        AdvanceFinalHandDistribution();
        EXPECT_EQ(Total(), 2 * c.perTick);
        if (c.known == 5) {
            EXPECT_EQ(ControlText(appState.mainDialog, BestPossibleControl), "Royal Flush");
        }
        if (c.ticksToCap > 0) {
            ClearHandTypeCounts(appState);
            EXPECT_EQ(RunUntilCapped(), c.ticksToCap);  // Texas: 23 ticks make 49,726
        }
    }
}

TEST_F(FinalHands, ABatchEndsWithTheBarsShowingTheCompleteCounts)
{
    AdvanceFinalHandDistribution();
    auto shown = [] {  // texts and bar pixels
        std::pair<std::vector<std::string>, std::vector<std::uint32_t>> all;
        for (int i = 0; i < HandTypeCount; ++i) {
            all.first.push_back(ControlText(appState.mainDialog, FirstPercentControl + i));
            const Window bar = ControlWindow(appState.mainDialog, FirstBarControl + i);
            const ClientSize size = WindowClientSize(bar);
            for (int y = 0; y < size.height; ++y)
                for (int x = 0; x < size.width; ++x)
                    all.second.push_back(HeadlessPixel(bar, x, y));
        }
        return all;
    };
    const auto afterBatch = shown();
    EXPECT_EQ(afterBatch.first[OnePair], FormatPercent(appState.handTypeCounts[OnePair], 5000));
    DrawResultBars(appState.mainDialog);
    EXPECT_EQ(shown(), afterBatch);
}

TEST_F(FinalHands, BestPossibleHandTakesEachMissingCardAsTheMostHelpfulOne)
{
    struct Case {
        const char *hole, *board;
        HandScore expected;
    };
    const Case cases[] = {
        {"7s 2h", "", 0x900000},                // five or more missing
        {"Ac 2h", "Kc 3s", 0x900000},           // a Royal Flush still open
        {"As Kh", "Ad Kc 7s", 0x7ED000},        // two missing: four Aces with a King
        {"As Ah", "Kd Kc Qs Qh", 0x6ED000},     // one missing: the two best pairs make the house
        {"As Kh", "9d 6c 2s", 0x3E0000},        // nothing better than trips of the highest card
        {"As Kh", "Qd Jc 2s 2h", 0x4E0000},     // the straight to the Ace
        {"As Ah", "9d 6c 2s 4c", 0x3E0000},     // one missing, a single pair: its trips
        {"8s 8h", "Kd 6c 2s Jh", 0x380000},     // .. of that pair, not the highest card
        {"8s 4h", "Kd 6c 2s Qh", 0x1D0000},     // one missing, no pair: a pair of the highest
        {"8s 4s", "Ks 6c 2s Qh", 0x500000},     // four of a suit: a Flush without ranks
        {"As Kh", "Qd Jc 2s 2h Tc", 0x4E0000},  // every card known: the exact score
        {"9s 4h", "Qd Jc 2s 2h Tc", 0x12CBA0},
    };
    for (const Case& c : cases) {
        Deal(c.hole, c.board);
        EXPECT_EQ(BestPossibleHand(), c.expected) << c.hole << " | " << c.board;
    }
    Deal("As Kh", "Ad Kc 7s");
    AdvanceFinalHandDistribution();
    EXPECT_EQ(ControlText(appState.mainDialog, BestPossibleControl),
              "Four of a kind (Aces) plus King");
    // Omaha, one missing: the highest straight flush any suit allows, here to the King.
    appState.gameVariant = OmahaHoldem;
    Deal("3s 4s 5s 6s", "9c Tc Jc Qc");
    EXPECT_EQ(BestPossibleHand(), 0x8D0000);
    EXPECT_TRUE(HeadlessMessageBoxes().empty());
}
