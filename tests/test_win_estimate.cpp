#include "odds/win_estimate.h"

#include "app/state.h"
#include "cards/evaluator.h"
#include "odds/starting_hands.h"
#include "platform/headless/headless.h"
#include "tests/support/win_estimate_reference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <string>

namespace {

enum Rank { Ace, Two, Three, Four, Five, Six, Seven, Eight, Nine, Ten, Jack, Queen, King };

constexpr Card Of(Rank rank, int suit)
{
    return suit * 13 + rank;
}

// Statistical checks accept a deviation of up to this many standard errors.
constexpr double Tolerance = 4.0;

// The sanitizer build runs the same checks on fewer deals (wider, still stated, tolerances).
#if defined(TABLEWISE_SANITIZED)
constexpr int Batches = 30;
#else
constexpr int Batches = 200;
#endif

// The level-1 table the program computes at start-up, computed once for the whole suite.
const StartingHandTable& QuickTable()
{
    static const StartingHandTable table = [] {
        ResetAppState(appState);
        SeedRandom(1);
        while (!ComputeNextCell(QuickCalculation)) {
        }
        return appState.startingHandTable;
    }();
    return table;
}

class WinEstimate : public ::testing::Test {
protected:
    void SetUp() override
    {
        const StartingHandTable table = QuickTable();
        HeadlessReset();
        ResetAppState(appState);
        appState.startingHandTable = table;
        appState.mainDialog = CreateModelessDialog(101, nullptr, nullptr);
        SeedRandom(20240611);
    }

    void TearDown() override
    {
        ResetAppState(appState);
        HeadlessReset();
    }

    static void Modelling(bool on) { SetControlChecked(appState.mainDialog, 1088, on); }

    static void AddPlayers(int count, int aggression = 5, int bluffing = 5, bool playing = true)
    {
        for (int i = 0; i < count; ++i) {
            Player player;
            player.aggression = aggression;
            player.bluffing = bluffing;
            player.playing = playing;
            appState.roster.append(player);
        }
    }

    // Runs `calls` estimates for the hole and board given (missing slots NoCard).
    static void Estimate(std::initializer_list<Card> hole, std::initializer_list<Card> board,
                         int calls)
    {
        Card h[4] = {NoCard, NoCard, NoCard, NoCard};
        Card b[5] = {NoCard, NoCard, NoCard, NoCard, NoCard};
        std::copy(hole.begin(), hole.end(), h);
        std::copy(board.begin(), board.end(), b);
        for (int i = 0; i < calls; ++i)
            EstimateWin(h, b);
    }

    static std::string Text(int id) { return ControlText(appState.mainDialog, id); }

    static double Share(std::int64_t count)
    {
        return static_cast<double>(count) / static_cast<double>(appState.outcomeCounts.total());
    }
};

// Standard error of a share p estimated from n deals.
double StandardError(double p, std::int64_t n)
{
    return std::sqrt(p * (1 - p) / static_cast<double>(n));
}

std::string Percent(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f%%", value);
    return text;
}

// ---------------------------------------------------------------------------------------------
// Agreement with exact odds
// ---------------------------------------------------------------------------------------------

TEST_F(WinEstimate, HeadsUpOnTheFlopMatchesTheExactEnumeration)
{
    const Card hole[2] = {Of(Queen, 0), Of(Jack, 0)};
    const Card flop[5] = {Of(Ten, 0), Of(Queen, 2), Of(Four, 0), NoCard, NoCard};
    const ExactShares exact = ExactHeadsUpShares(hole, flop);

    AddPlayers(1);
    Estimate({hole[0], hole[1]}, {flop[0], flop[1], flop[2]}, Batches);
    const OutcomeCounts& counts = appState.outcomeCounts;
    const std::int64_t n = counts.total();
    ASSERT_EQ(n, std::int64_t{Batches} * DealsPerEstimate);
    EXPECT_NEAR(Share(counts.wins), exact.win, Tolerance * StandardError(exact.win, n));
    EXPECT_NEAR(Share(counts.ties), exact.tie, Tolerance * StandardError(exact.tie, n));
    EXPECT_NEAR(Share(counts.losses), exact.loss, Tolerance * StandardError(exact.loss, n));
    // The texts show the accumulated shares of every deal.
    EXPECT_EQ(Text(1012), Percent(100.0 * Share(counts.wins)));
    EXPECT_EQ(Text(1013), Percent(100.0 * Share(counts.ties)));
    EXPECT_EQ(Text(1014), Percent(100.0 * Share(counts.losses)));
}

TEST_F(WinEstimate, PairOfAcesHasItsKnownEquityAgainstOneToFiveRandomHands)
{
    // Win plus half the ties, in percent, rounded to 0.1: the rounding widens the tolerance.
    const double known[5] = {85.2, 73.4, 63.8, 55.9, 49.2};
    for (int opponents = 1; opponents <= 5; ++opponents) {
        SCOPED_TRACE(opponents);
        ResetForOpponentChange(appState);
        appState.roster.clear();
        AddPlayers(opponents);
        Estimate({Of(Ace, 0), Of(Ace, 1)}, {}, Batches);
        const OutcomeCounts& c = appState.outcomeCounts;
        const double n = static_cast<double>(c.total());
        const double equity = (static_cast<double>(c.wins) + 0.5 * static_cast<double>(c.ties)) / n;
        const double second =
            (static_cast<double>(c.wins) + 0.25 * static_cast<double>(c.ties)) / n;
        const double error = std::sqrt((second - equity * equity) / n);
        EXPECT_NEAR(100 * equity, known[opponents - 1], 100 * Tolerance * error + 0.05);
    }
}

// ---------------------------------------------------------------------------------------------
// The opponent model
// ---------------------------------------------------------------------------------------------

TEST_F(WinEstimate, CautiousTablesBeatTheHeroMoreOftenThanLooseOnes)
{
    Modelling(true);
    auto winShare = [&](int aggression, int bluffing) {
        ResetForOpponentChange(appState);
        appState.roster.clear();
        AddPlayers(3, aggression, bluffing);
        Estimate({Of(King, 0), Of(Nine, 1)}, {}, Batches / 2);
        return Share(appState.outcomeCounts.wins);
    };
    const double cautious = winShare(0, 0);
    const double loose = winShare(10, 10);
    const std::int64_t n = std::int64_t{Batches / 2} * DealsPerEstimate;
    EXPECT_LT(cautious + Tolerance * (StandardError(cautious, n) + StandardError(loose, n)), loose);
}

TEST_F(WinEstimate, ModelledHandsFitTheirPlayersThreshold)
{
    for (GameVariant variant : {TexasHoldem, OmahaHoldem}) {
        SCOPED_TRACE(variant);
        appState.gameVariant = variant;
        const int h = HoleCount(variant);
        Player cautious;  // plays only hands rated 16 or more
        cautious.aggression = 0;
        cautious.bluffing = 0;
        Player folded;  // not playing: dealt hands rated below 6
        folded.aggression = 5;
        folded.playing = false;
        Player loose;  // aggression 10: takes anything rated -4 or more at once
        loose.aggression = 10;
        loose.bluffing = 0;
        int weakFirstDraws = 0;
        for (int i = 0; i < 2000; ++i) {
            UsedCards used;
            Card hand[4] = {NoCard, NoCard, NoCard, NoCard};
            ASSERT_TRUE(DealOpponentHand(cautious, hand, used, h));
            EXPECT_GE(GuessHand(hand), 16.0f);

            used.clear();
            ASSERT_TRUE(DealOpponentHand(folded, hand, used, h));
            EXPECT_LT(GuessHand(hand), 6.0f);
            for (int k = 0; k < h; ++k)
                EXPECT_EQ(used[hand[k]], 1);

            // The loose player keeps its first hand when it rates -4 or more: no draw beyond
            // the hand's own cards is made.
            used.clear();
            const std::uint32_t before = randomState;
            UsedCards preview;
            Card first[4] = {NoCard, NoCard, NoCard, NoCard};
            for (int k = 0; k < h; ++k)
                first[k] = DrawUnusedCard(preview);
            const bool firstFits = GuessHand(first) >= -4.0f;
            randomState = before;
            ASSERT_TRUE(DealOpponentHand(loose, hand, used, h));
            if (firstFits) {
                for (int k = 0; k < h; ++k)
                    EXPECT_EQ(hand[k], first[k]);
            } else {
                ++weakFirstDraws;
                EXPECT_GE(GuessHand(hand), -4.0f);
            }
        }
        EXPECT_GT(weakFirstDraws, 0);  // the bar mattered at all
    }
}

TEST_F(WinEstimate, BluffersLetAboutOneWeakHandInFourThrough)
{
    // Bluffing 10: b in 0..10 beats r in 0..19 with chance 55 / 220 = 1 / 4.
    Player bluffer;
    bluffer.aggression = 0;  // threshold 16
    bluffer.bluffing = 10;
    int weak = 0;
    const int hands = 20000;
    int strongRaw = 0;  // how often a uniformly drawn hand rates 16 or more
    for (int i = 0; i < hands; ++i) {
        UsedCards used;
        Card hand[4] = {NoCard, NoCard, NoCard, NoCard};
        DealOpponentHand(bluffer, hand, used, 2);
        weak += GuessHand(hand) < 16.0f;
        UsedCards other;
        Card raw[4] = {DrawUnusedCard(other), DrawUnusedCard(other), NoCard, NoCard};
        strongRaw += GuessHand(raw) >= 16.0f;
    }
    const double q = static_cast<double>(strongRaw) / hands;
    const double expected = (1 - q) / 4 / (q + (1 - q) / 4);
    const double share = static_cast<double>(weak) / hands;
    // q is itself estimated; its error moves `expected` by about as much as the share's own.
    EXPECT_NEAR(share, expected, 2 * Tolerance * StandardError(expected, hands));
}

// ---------------------------------------------------------------------------------------------
// Edge cases
// ---------------------------------------------------------------------------------------------

TEST_F(WinEstimate, AnIncompleteHoleChangesNothing)
{
    AddPlayers(3);
    SetControlText(appState.mainDialog, 1012, "untouched");
    Estimate({Of(Ace, 0)}, {}, 1);
    appState.gameVariant = OmahaHoldem;
    Estimate({Of(Ace, 0), Of(King, 0), NoCard, Of(Two, 3)}, {}, 1);
    EXPECT_EQ(appState.outcomeCounts.total(), 0);
    EXPECT_EQ(Text(1012), "untouched");
    EXPECT_EQ(Text(1013), "1000");
}

TEST_F(WinEstimate, WithNobodyDealtInEveryDealIsWon)
{
    // An empty roster.
    Estimate({Of(Two, 0), Of(Seven, 1)}, {}, 2);
    EXPECT_EQ(appState.outcomeCounts.wins, 2 * DealsPerEstimate);
    EXPECT_EQ(Text(1012), "100.00%");
    EXPECT_EQ(Text(1013), "0.00%");
    EXPECT_EQ(Text(1014), "0.00%");

    // Nobody playing, without modelling.
    ResetForOpponentChange(appState);
    AddPlayers(4, 5, 5, false);
    Estimate({Of(Two, 0), Of(Seven, 1)}, {}, 1);
    EXPECT_EQ(appState.outcomeCounts.wins, DealsPerEstimate);
    EXPECT_EQ(Text(1014), "0.00%");
}

TEST_F(WinEstimate, WithModellingPlayersWhoAreNotPlayingStillTakePart)
{
    Modelling(true);
    AddPlayers(4, 5, 5, false);
    Estimate({Of(Two, 0), Of(Seven, 1)}, {}, 1);
    EXPECT_EQ(appState.outcomeCounts.total(), DealsPerEstimate);
    EXPECT_GT(appState.outcomeCounts.losses, DealsPerEstimate / 2);
}

TEST_F(WinEstimate, DrawnBoardCardsNeverRepeatTheChosenOnes)
{
    // The hero holds the fourth King, so with three Kings chosen in slots 1..3 nobody else can
    // have four Kings and no deal can tie. A drawn duplicate King would let opponents share them.
    AddPlayers(5);
    Estimate({Of(King, 3), Of(Ace, 3)}, {NoCard, Of(King, 0), Of(King, 1), Of(King, 2)}, Batches);
    EXPECT_EQ(appState.outcomeCounts.ties, 0);
    EXPECT_LT(Share(appState.outcomeCounts.losses), 0.02);  // only straight flushes beat it
}

TEST_F(WinEstimate, EqualBestHandsCountAsTies)
{
    AddPlayers(1);
    Estimate({Of(Two, 1), Of(Three, 2)},
             {Of(Ace, 3), Of(King, 3), Of(Queen, 3), Of(Jack, 3), Of(Ten, 3)}, 1);
    EXPECT_EQ(appState.outcomeCounts.ties, DealsPerEstimate);
    EXPECT_EQ(Text(1013), "100.00%");
}

TEST_F(WinEstimate, GuessHandReadsTheHighestTwoCardsInOmaha)
{
    StartingHandTable& table = appState.startingHandTable;
    table.offsuit[King][King] = 50;
    table.offsuit[King][Queen] = table.offsuit[Queen][King] = 30;
    table.suited[King][Queen] = table.suited[Queen][King] = 35;
    table.offsuit[Five][Five] = -20;
    appState.gameVariant = OmahaHoldem;

    const Card kingsAndSmall[4] = {Of(King, 0), Of(Two, 0), Of(King, 1), Of(Five, 0)};
    EXPECT_EQ(GuessHand(kingsAndSmall), 50.0f);
    const Card fivesKingQueen[4] = {Of(Five, 0), Of(Queen, 1), Of(Five, 2), Of(King, 3)};
    EXPECT_EQ(GuessHand(fivesKingQueen), 30.0f);
    // Of two Queens the earlier one goes with the King: suited here, offsuit when swapped.
    const Card suitedFirst[4] = {Of(King, 0), Of(Queen, 0), Of(Queen, 1), Of(Two, 2)};
    EXPECT_EQ(GuessHand(suitedFirst), 35.0f);
    const Card offsuitFirst[4] = {Of(King, 0), Of(Queen, 1), Of(Queen, 0), Of(Two, 2)};
    EXPECT_EQ(GuessHand(offsuitFirst), 30.0f);
    EXPECT_TRUE(HeadlessMessageBoxes().empty());
}

TEST_F(WinEstimate, CrowdedTablesFinishAndCountEveryDeal)
{
    Modelling(true);
    AddPlayers(30);
    Estimate({Of(Ace, 0), Of(King, 1)}, {}, 1);
    EXPECT_EQ(appState.outcomeCounts.total(), DealsPerEstimate);

    ResetForOpponentChange(appState);
    appState.roster.clear();
    appState.gameVariant = OmahaHoldem;
    AddPlayers(11);
    AddPlayers(3, 10, 0, false);  // beyond the deck's reach, wanting weak hands
    Estimate({Of(Ace, 0), Of(King, 1), Of(Queen, 2), Of(Jack, 3)}, {}, 1);
    EXPECT_EQ(appState.outcomeCounts.total(), DealsPerEstimate);

    // Without modelling, too.
    Modelling(false);
    ResetForOpponentChange(appState);
    Estimate({Of(Ace, 0), Of(King, 1), Of(Queen, 2), Of(Jack, 3)}, {}, 1);
    EXPECT_EQ(appState.outcomeCounts.total(), DealsPerEstimate);
}

TEST_F(WinEstimate, CautiousPlayersLateInACrowdedDealFinish)
{
    Modelling(true);
    for (GameVariant variant : {TexasHoldem, OmahaHoldem}) {
        SCOPED_TRACE(variant);
        ResetForOpponentChange(appState);
        appState.roster.clear();
        appState.gameVariant = variant;
        AddPlayers(variant == TexasHoldem ? 22 : 10, 0, 0);
        Estimate({Of(Ace, 0), Of(Ace, 1), Of(King, 0), Of(King, 1)}, {}, 1);
        EXPECT_EQ(appState.outcomeCounts.total(), DealsPerEstimate);
    }

    // With only weak cards left, a cautious player keeps the last hand drawn.
    Player cautious;
    cautious.aggression = 0;
    cautious.bluffing = 0;
    appState.gameVariant = TexasHoldem;
    UsedCards used;
    used.flag.fill(1);
    used[Of(Two, 0)] = used[Of(Seven, 1)] = used[Of(Three, 2)] = 0;
    Card hand[4] = {NoCard, NoCard, NoCard, NoCard};
    EXPECT_FALSE(DealOpponentHand(cautious, hand, used, 2));
    EXPECT_NE(hand[0], hand[1]);
    for (int k = 0; k < 2; ++k) {
        EXPECT_TRUE(hand[k] == Of(Two, 0) || hand[k] == Of(Seven, 1) || hand[k] == Of(Three, 2));
        EXPECT_EQ(used[hand[k]], 1);
    }
}

TEST_F(WinEstimate, AnEmptyTableCannotTrapAFoldedAggressivePlayer)
{
    // Every hand rates 0 before the table is computed; a player who is not playing at
    // aggression 8 or more (threshold 0 or below) can never be given a hand rated below it.
    appState.startingHandTable = StartingHandTable{};
    Player folded;
    folded.aggression = 9;
    folded.playing = false;
    UsedCards used;
    Card hand[4] = {NoCard, NoCard, NoCard, NoCard};
    EXPECT_FALSE(DealOpponentHand(folded, hand, used, 2));
    EXPECT_NE(hand[0], hand[1]);
    EXPECT_EQ(used[hand[0]] + used[hand[1]], 2);

    Modelling(true);
    AddPlayers(3, 8, 0, false);
    Estimate({Of(Ace, 0), Of(King, 1)}, {}, 1);
    EXPECT_EQ(appState.outcomeCounts.total(), DealsPerEstimate);
}

}  // namespace
