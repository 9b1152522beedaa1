#include "odds/final_hands.h"

#include "app/result_bars.h"
#include "app/state.h"
#include "cards/evaluator.h"
#include "platform/headless/headless.h"
#include "tests/support/exact_final_hands.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Rank indexes and suits, for readable deals.
enum Rank { Ace, Two, Three, Four, Five, Six, Seven, Eight, Nine, Ten, Jack, Queen, King };
enum Suit { Spades, Hearts, Diamonds, Clubs };

constexpr Card C(Rank rank, Suit suit)
{
    return suit * 13 + rank;
}

// Seven-card hands of each category among all C(52, 7) = 133,784,560.
constexpr double SevenCardCounts[HandTypeCount] = {
    23294460, 58627800, 31433400, 6461620, 6180020, 4047644, 3473184, 224848, 37260, 4324,
};
constexpr double SevenCardHands = 133784560;

// Statistical checks accept a deviation of up to this many standard errors per category.
constexpr double Tolerance = 4.0;

int Total()
{
    int total = 0;
    for (int c : appState.handTypeCounts)
        total += c;
    return total;
}

// Each category's sampled count lies within Tolerance binomial standard errors of its
// expectation under the exact probabilities p.
void ExpectSampledFrom(const HandTypeCounts& counts, const std::array<double, HandTypeCount>& p)
{
    double n = 0;
    for (int c : counts)
        n += c;
    for (int i = 0; i < HandTypeCount; ++i) {
        const double q = p[static_cast<std::size_t>(i)];
        const double expected = n * q;
        const double standardError = std::sqrt(n * q * (1 - q));
        EXPECT_LE(std::abs(counts[static_cast<std::size_t>(i)] - expected),
                  Tolerance * standardError)
            << "category " << i << ": " << counts[static_cast<std::size_t>(i)] << " counted, "
            << expected << " expected of " << n;
    }
}

// Runs the timer's loop: advance while the counters sum to less than the cap. Returns the ticks.
int RunUntilCapped()
{
    int ticks = 0;
    while (Total() < FinalHandCountCap) {
        AdvanceFinalHandDistribution();
        ++ticks;
    }
    return ticks;
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

    void Deal(std::initializer_list<Card> hole, std::initializer_list<Card> table = {})
    {
        appState.holeCards.fill(NoCard);
        appState.tableCards.fill(NoCard);
        std::copy(hole.begin(), hole.end(), appState.holeCards.begin());
        std::copy(table.begin(), table.end(), appState.tableCards.begin());
    }

    std::string BestPossibleText() const
    {
        return ControlText(appState.mainDialog, BestPossibleControl);
    }
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// Sampling
// ---------------------------------------------------------------------------------------------

TEST_F(FinalHands, WithNoCardsTenBatchesMatchTheSevenCardCategoryOdds)
{
    AdvanceFinalHandDistribution();
    EXPECT_EQ(Total(), FinalHandBatchSize);
    EXPECT_EQ(BestPossibleText(), "Royal Flush");
    EXPECT_EQ(RunUntilCapped(), 9);
    EXPECT_EQ(Total(), 50000);

    std::array<double, HandTypeCount> p{};
    for (int i = 0; i < HandTypeCount; ++i)
        p[static_cast<std::size_t>(i)] = SevenCardCounts[i] / SevenCardHands;
    ExpectSampledFrom(appState.handTypeCounts, p);
    EXPECT_TRUE(HeadlessMessageBoxes().empty());
}

TEST_F(FinalHands, ACompleteHoleWithoutBoardMatchesEveryBoardCounted)
{
    Deal({C(Ace, Spades), C(Ace, Hearts)});
    RunUntilCapped();
    EXPECT_EQ(Total(), 50000);
    const HandTypeCounts exact = ExactFinalHandCounts(appState.holeCards.data(), nullptr, 0);
    EXPECT_EQ(exact[HighCard], 0);  // a pocket pair never finishes below a pair
    EXPECT_EQ(appState.handTypeCounts[HighCard], 0);
    ExpectSampledFrom(appState.handTypeCounts, FinalHandProportions(exact));
}

TEST_F(FinalHands, AnOmahaHoleWithoutBoardMatchesEveryBoardCounted)
{
    appState.gameVariant = OmahaHoldem;
    Deal({C(Ace, Spades), C(King, Spades), C(Seven, Hearts), C(Seven, Diamonds)});
    RunUntilCapped();
    const HandTypeCounts exact = ExactFinalHandCounts(appState.holeCards.data(), nullptr, 0);
    ExpectSampledFrom(appState.handTypeCounts, FinalHandProportions(exact));
}

TEST_F(FinalHands, OneMissingHoleCardWithAFullBoardDrawsOnlyThatCard)
{
    // A royal flush needs exactly the Ten of Hearts in the hole: one chance in 45.
    const Card board[5] = {C(Ace, Hearts), C(King, Hearts), C(Queen, Hearts), C(Jack, Hearts),
                           C(Two, Spades)};
    Deal({NoCard, C(Seven, Clubs)}, {board[0], board[1], board[2], board[3], board[4]});
    AdvanceFinalHandDistribution();
    EXPECT_EQ(Total(), FinalHandBatchSize);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(appState.tableCards[static_cast<std::size_t>(i)], board[i]);

    HandTypeCounts exact{};
    for (Card c = 0; c < CardCount; ++c) {
        if (c == C(Seven, Clubs) || std::find(board, board + 5, c) != board + 5)
            continue;
        const Card hole[4] = {c, C(Seven, Clubs), NoCard, NoCard};
        ++exact[HandTypeOf(EvaluateHand(hole, board, NoThreshold))];
    }
    EXPECT_EQ(exact[RoyalFlush], 1);
    ExpectSampledFrom(appState.handTypeCounts, FinalHandProportions(exact));
}

TEST_F(FinalHands, BoardCardsWithGapsCountAsTheSameCardsAtTheFront)
{
    const Card a = C(Nine, Clubs);
    const Card b = C(Ten, Clubs);
    const Card c = C(Two, Hearts);
    const Card hole[2] = {C(Jack, Clubs), C(Jack, Spades)};

    // Complete hole: the two missing board cards are enumerated.
    Deal({hole[0], hole[1]}, {NoCard, a, b, NoCard, c});
    AdvanceFinalHandDistribution();
    const Card front[3] = {a, b, c};
    HandTypeCounts twice = ExactFinalHandCounts(appState.holeCards.data(), front, 3);
    for (int& count : twice)
        count *= 2;
    EXPECT_EQ(appState.handTypeCounts, twice);

    // Incomplete hole: the same draws, hence the same counts, as with the cards laid out in
    // slots 0 to 2.
    Deal({hole[0], NoCard}, {NoCard, a, b, NoCard, c});
    ClearHandTypeCounts(appState);
    SeedRandom(77);
    AdvanceFinalHandDistribution();
    const HandTypeCounts withGaps = appState.handTypeCounts;

    Deal({hole[0], NoCard}, {a, b, c});
    ClearHandTypeCounts(appState);
    SeedRandom(77);
    AdvanceFinalHandDistribution();
    EXPECT_EQ(withGaps, appState.handTypeCounts);
    EXPECT_EQ(Total(), FinalHandBatchSize);
}

// ---------------------------------------------------------------------------------------------
// Enumeration with a complete hole and three or more board cards
// ---------------------------------------------------------------------------------------------

TEST_F(FinalHands, AKnownFlopTurnOrRiverIsCountedInFullOnEveryTick)
{
    const Card flop[3] = {C(Queen, Spades), C(Jack, Spades), C(Two, Diamonds)};
    Deal({C(Ace, Spades), C(King, Spades)}, {flop[0], flop[1], flop[2]});
    HandTypeCounts exact = ExactFinalHandCounts(appState.holeCards.data(), flop, 3);
    AdvanceFinalHandDistribution();
    EXPECT_EQ(Total(), 47 * 46);
    for (int i = 0; i < HandTypeCount; ++i)  // ordered turn and river: every board twice
        EXPECT_EQ(appState.handTypeCounts[static_cast<std::size_t>(i)],
                  2 * exact[static_cast<std::size_t>(i)]);
    EXPECT_EQ(appState.handTypeCounts[RoyalFlush], 2 * 46);  // the Ten of Spades, either way
    AdvanceFinalHandDistribution();
    EXPECT_EQ(Total(), 2 * 2162);
    // The cap: 23 ticks make 49,726 and the 24th passes 50,000.
    ClearHandTypeCounts(appState);
    EXPECT_EQ(RunUntilCapped(), 24);
    EXPECT_EQ(Total(), 24 * 2162);

    const Card turn[4] = {flop[0], flop[1], flop[2], C(Ten, Hearts)};
    Deal({C(Ace, Spades), C(King, Spades)}, {turn[0], turn[1], turn[2], turn[3]});
    ClearHandTypeCounts(appState);
    AdvanceFinalHandDistribution();
    EXPECT_EQ(appState.handTypeCounts, ExactFinalHandCounts(appState.holeCards.data(), turn, 4));
    EXPECT_EQ(Total(), 46);

    Deal({C(Ace, Spades), C(King, Spades)}, {turn[0], turn[1], turn[2], turn[3], C(Ten, Spades)});
    ClearHandTypeCounts(appState);
    AdvanceFinalHandDistribution();
    AdvanceFinalHandDistribution();
    EXPECT_EQ(appState.handTypeCounts[RoyalFlush], 2);
    EXPECT_EQ(Total(), 2);
    EXPECT_EQ(BestPossibleText(), "Royal Flush");
}

TEST_F(FinalHands, AnOmahaFlopGivesFortyFiveTimesFortyFourCountsPerTick)
{
    appState.gameVariant = OmahaHoldem;
    const Card flop[3] = {C(Queen, Spades), C(Jack, Hearts), C(Two, Diamonds)};
    Deal({C(Ace, Spades), C(King, Spades), C(Ten, Clubs), C(Ten, Diamonds)},
         {flop[0], flop[1], flop[2]});
    const HandTypeCounts exact = ExactFinalHandCounts(appState.holeCards.data(), flop, 3);
    AdvanceFinalHandDistribution();
    EXPECT_EQ(Total(), 45 * 44);
    for (int i = 0; i < HandTypeCount; ++i)
        EXPECT_EQ(appState.handTypeCounts[static_cast<std::size_t>(i)],
                  2 * exact[static_cast<std::size_t>(i)]);
    ClearHandTypeCounts(appState);
    EXPECT_EQ(RunUntilCapped(), 26);  // 25 ticks make 49,500

    appState.tableCards[3] = C(Three, Clubs);
    ClearHandTypeCounts(appState);
    AdvanceFinalHandDistribution();
    EXPECT_EQ(Total(), 44);
}

// ---------------------------------------------------------------------------------------------
// Bar redraws
// ---------------------------------------------------------------------------------------------

TEST_F(FinalHands, TheBarsFollowTheCountsDuringAndAfterEachTick)
{
    // Every redraw takes the device context of each bar once.
    Window firstBar = ControlWindow(appState.mainDialog, FirstBarControl);
    auto redrawsOf = [&](auto tick) {
        const int before = HeadlessDeviceContextRequests(firstBar);
        tick();
        return HeadlessDeviceContextRequests(firstBar) - before;
    };

    // A batch: at samples 0, 100, .., 4900 and once after.
    EXPECT_EQ(redrawsOf(AdvanceFinalHandDistribution), 51);
    // The last redraw shows the complete counts: drawing again changes no text and no pixel.
    std::vector<std::string> texts;
    std::vector<std::uint32_t> pixels;
    auto capture = [&] {
        texts.clear();
        pixels.clear();
        for (int i = 0; i < HandTypeCount; ++i) {
            texts.push_back(ControlText(appState.mainDialog, FirstPercentControl + i));
            Window bar = ControlWindow(appState.mainDialog, FirstBarControl + i);
            const ClientSize size = WindowClientSize(bar);
            for (int y = 0; y < size.height; ++y)
                for (int x = 0; x < size.width; ++x)
                    pixels.push_back(HeadlessPixel(bar, x, y));
        }
    };
    capture();
    const auto textsAfterBatch = texts;
    const auto pixelsAfterBatch = pixels;
    EXPECT_EQ(textsAfterBatch[OnePair], FormatPercent(appState.handTypeCounts[OnePair], 5000));
    DrawResultBars(appState.mainDialog);
    capture();
    EXPECT_EQ(texts, textsAfterBatch);
    EXPECT_EQ(pixels, pixelsAfterBatch);

    // Enumerations: after each turn card with a flop known, then once more.
    Deal({C(Ace, Spades), C(King, Spades)}, {C(Queen, Spades), C(Jack, Spades), C(Two, Diamonds)});
    EXPECT_EQ(redrawsOf(AdvanceFinalHandDistribution), 47 + 1);
    appState.tableCards[3] = C(Three, Clubs);
    EXPECT_EQ(redrawsOf(AdvanceFinalHandDistribution), 1);
    appState.tableCards[4] = C(Four, Clubs);
    EXPECT_EQ(redrawsOf(AdvanceFinalHandDistribution), 1);
    appState.gameVariant = OmahaHoldem;
    Deal({C(Ace, Spades), C(King, Spades), C(Two, Hearts), C(Two, Clubs)},
         {C(Queen, Spades), C(Jack, Spades), C(Two, Diamonds)});
    EXPECT_EQ(redrawsOf(AdvanceFinalHandDistribution), 45 + 1);
}

// ---------------------------------------------------------------------------------------------
// Best possible hand
// ---------------------------------------------------------------------------------------------

TEST_F(FinalHands, BestPossibleHandTakesEachMissingCardAsTheMostHelpfulOne)
{
    // Five or more missing, or a Royal Flush still open.
    Deal({C(Seven, Spades), C(Two, Hearts)});
    EXPECT_EQ(BestPossibleHand(), 0x900000);
    Deal({C(Ace, Clubs), C(Two, Hearts)}, {C(King, Clubs), C(Three, Spades)});
    EXPECT_EQ(BestPossibleHand(), 0x900000);

    // Two Aces known and two cards missing: four Aces with a King.
    Deal({C(Ace, Spades), C(King, Hearts)}, {C(Ace, Diamonds), C(King, Clubs), C(Seven, Spades)});
    EXPECT_EQ(BestPossibleHand(), 0x7ED000);
    AdvanceFinalHandDistribution();
    EXPECT_EQ(BestPossibleText(), "Four of a kind (Aces) plus King");

    // One missing, pairs of Aces, Kings and Queens known: the two best pairs make the house.
    Deal({C(Ace, Spades), C(Ace, Hearts)},
         {C(King, Diamonds), C(King, Clubs), C(Queen, Spades), C(Queen, Hearts)});
    EXPECT_EQ(BestPossibleHand(), 0x6ED000);

    // Nothing better than trips of the highest card.
    Deal({C(Ace, Spades), C(King, Hearts)}, {C(Nine, Diamonds), C(Six, Clubs), C(Two, Spades)});
    EXPECT_EQ(BestPossibleHand(), 0x3E0000);

    // Ace, King, Queen, Jack and two Twos with one card missing: the straight to the Ace.
    Deal({C(Ace, Spades), C(King, Hearts)},
         {C(Queen, Diamonds), C(Jack, Clubs), C(Two, Spades), C(Two, Hearts)});
    EXPECT_EQ(BestPossibleHand(), 0x4E0000);

    // One missing with a single pair and no draw: trips of that pair, Aces first.
    Deal({C(Ace, Spades), C(Ace, Hearts)},
         {C(Nine, Diamonds), C(Six, Clubs), C(Two, Spades), C(Four, Clubs)});
    EXPECT_EQ(BestPossibleHand(), 0x3E0000);
    Deal({C(Eight, Spades), C(Eight, Hearts)},
         {C(King, Diamonds), C(Six, Clubs), C(Two, Spades), C(Jack, Hearts)});
    EXPECT_EQ(BestPossibleHand(), 0x380000);
    // One missing and no pair: a pair of the highest card.
    Deal({C(Eight, Spades), C(Four, Hearts)},
         {C(King, Diamonds), C(Six, Clubs), C(Two, Spades), C(Queen, Hearts)});
    EXPECT_EQ(BestPossibleHand(), 0x1D0000);
    // Four of one suit and one missing: a Flush without ranks.
    Deal({C(Eight, Spades), C(Four, Spades)},
         {C(King, Spades), C(Six, Clubs), C(Two, Spades), C(Queen, Hearts)});
    EXPECT_EQ(BestPossibleHand(), 0x500000);

    // Every card known: the exact score.
    Deal({C(Ace, Spades), C(King, Hearts)},
         {C(Queen, Diamonds), C(Jack, Clubs), C(Two, Spades), C(Two, Hearts), C(Ten, Clubs)});
    EXPECT_EQ(BestPossibleHand(), 0x4E0000);
    Deal({C(Nine, Spades), C(Four, Hearts)},
         {C(Queen, Diamonds), C(Jack, Clubs), C(Two, Spades), C(Two, Hearts), C(Ten, Clubs)});
    EXPECT_EQ(BestPossibleHand(),
              EvaluateHand(appState.holeCards.data(), appState.tableCards.data(), NoThreshold));

    // Omaha, one missing: the highest straight flush any suit allows, here to the King.
    appState.gameVariant = OmahaHoldem;
    Deal({C(Three, Spades), C(Four, Spades), C(Five, Spades), C(Six, Spades)},
         {C(Nine, Clubs), C(Ten, Clubs), C(Jack, Clubs), C(Queen, Clubs)});
    EXPECT_EQ(BestPossibleHand(), 0x8D0000);

    EXPECT_TRUE(HeadlessMessageBoxes().empty());
}
