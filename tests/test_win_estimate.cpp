// The win estimate: agreement with exact and known odds, the opponent model, and edge cases.
#include "odds/win_estimate.h"

#include "app/state.h"
#include "odds/evaluate_hand.h"
#include "odds/starting_hands.h"
#include "platform/headless/headless.h"
#include "render/gain.h"
#include "tests/support/quick_table.h"
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

constexpr double Tolerance = 4.0;  // standard errors

#if defined(TABLEWISE_SANITIZED)
constexpr int Batches = 30;  // fewer deals under the sanitizers: wider, still stated, tolerances
#else
constexpr int Batches = 200;
#endif

Player Traits(int aggression, int bluffing, bool playing = true)
{
    Player player;
    player.aggression = aggression;
    player.bluffing = bluffing;
    player.playing = playing;
    return player;
}

// Clears the estimate and roster, and seats `count` players with the traits given.
void Seat(int count, int aggression = 5, int bluffing = 5, bool playing = true)
{
    ResetForOpponentChange(appState);
    appState.roster.clear();
    for (int i = 0; i < count; ++i)
        appState.roster.append(Traits(aggression, bluffing, playing));
}

// Runs `calls` estimates for the hole and board given (missing slots NoCard).
void Estimate(std::initializer_list<Card> hole, std::initializer_list<Card> board, int calls)
{
    Card h[4] = {NoCard, NoCard, NoCard, NoCard};
    Card b[5] = {NoCard, NoCard, NoCard, NoCard, NoCard};
    std::copy(hole.begin(), hole.end(), h);
    std::copy(board.begin(), board.end(), b);
    for (int i = 0; i < calls; ++i)
        EstimateWin(h, b);
}

class WinEstimate : public ::testing::Test {
protected:
    static void Modelling(bool on)
    {
        SetControlChecked(appState.mainDialog, ModellingCheckBox, on);
    }
    static double Share(std::int64_t count)
    {
        return static_cast<double>(count) / static_cast<double>(appState.outcomeCounts.total());
    }
    static std::string Text(int id) { return ControlText(appState.mainDialog, id); }
    static double StandardError(double p, std::int64_t n)
    {
        return std::sqrt(p * (1 - p) / static_cast<double>(n));
    }
    void SetUp() override
    {
        const StartingHandTable& quickTable = QuickStartingHandTable();
        HeadlessReset();
        ResetAppState(appState);
        appState.startingHandTable = quickTable;
        appState.mainDialog = CreateModelessDialog(101, nullptr, nullptr);
        SeedRandom(20240611);
    }

    void TearDown() override
    {
        ResetAppState(appState);
        HeadlessReset();
    }
};

}  // namespace

TEST_F(WinEstimate, HeadsUpOnTheFlopMatchesTheExactEnumeration)
{
    const Card hole[2] = {Of(Queen, 0), Of(Jack, 0)};
    const Card flop[5] = {Of(Ten, 0), Of(Queen, 2), Of(Four, 0), NoCard, NoCard};
    const ExactShares exact = ExactHeadsUpShares(hole, flop);
    Seat(1);
    Estimate({hole[0], hole[1]}, {flop[0], flop[1], flop[2]}, Batches);
    const OutcomeCounts& c = appState.outcomeCounts;
    ASSERT_EQ(c.total(), std::int64_t{Batches} * DealsPerEstimate);
    const std::pair<std::int64_t, double> shares[] = {
        {c.wins, exact.win}, {c.ties, exact.tie}, {c.losses, exact.loss}};
    for (int i = 0; i < 3; ++i) {
        const auto [count, p] = shares[i];
        EXPECT_NEAR(Share(count), p, Tolerance * StandardError(p, c.total()));
        char percent[32];
        std::snprintf(percent, sizeof percent, "%.2f%%", 100.0 * Share(count));
        EXPECT_EQ(Text(WinShareControl + i), percent);  // the accumulated shares of every deal
    }
}

TEST_F(WinEstimate, PairOfAcesHasItsKnownEquityAgainstOneToFiveRandomHands)
{
    // Win plus half the ties, in percent, rounded to 0.1: the rounding widens the tolerance.
    const double known[5] = {85.2, 73.4, 63.8, 55.9, 49.2};
    for (int opponents = 1; opponents <= 5; ++opponents) {
        Seat(opponents);
        Estimate({Of(Ace, 0), Of(Ace, 1)}, {}, Batches);
        const OutcomeCounts& c = appState.outcomeCounts;
        const double n = static_cast<double>(c.total());
        const double equity = (static_cast<double>(c.wins) + 0.5 * static_cast<double>(c.ties)) / n;
        const double second =
            (static_cast<double>(c.wins) + 0.25 * static_cast<double>(c.ties)) / n;
        EXPECT_NEAR(100 * equity, known[opponents - 1],
                    100 * Tolerance * std::sqrt((second - equity * equity) / n) + 0.05)
            << opponents << " opponents";
    }
}

TEST_F(WinEstimate, CautiousTablesBeatTheHeroMoreOftenThanLooseOnes)
{
    Modelling(true);
    auto winShare = [&](int aggression, int bluffing) {
        Seat(3, aggression, bluffing);
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
    const Player cautious = Traits(0, 0);       // plays only hands rated 16 or more
    const Player folded = Traits(5, 5, false);  // not playing: dealt hands rated below 6
    const Player loose = Traits(10, 0);         // takes anything rated -4 or more at once
    for (GameVariant variant : {TexasHoldem, OmahaHoldem}) {
        appState.gameVariant = variant;
        const int h = HoleCount(variant);
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

            // The loose player keeps a first hand rated -4 or more: no further draw.
            used.clear();
            const std::uint32_t before = randomState;
            UsedCards preview;
            Card first[4] = {NoCard, NoCard, NoCard, NoCard};
            for (int k = 0; k < h; ++k)
                first[k] = DrawUnusedCard(preview);
            randomState = before;
            ASSERT_TRUE(DealOpponentHand(loose, hand, used, h));
            if (GuessHand(first) >= -4.0f) {
                EXPECT_TRUE(std::equal(hand, hand + h, first));
            } else {
                ++weakFirstDraws;
                EXPECT_GE(GuessHand(hand), -4.0f);
            }
        }
        EXPECT_GT(weakFirstDraws, 0) << variant;  // the bar mattered at all
    }
}

TEST_F(WinEstimate, BluffersLetAboutOneWeakHandInFourThrough)
{
    // Bluffing 10: b in 0..10 beats r in 0..19 with chance 55 / 220 = 1 / 4.
    const Player bluffer = Traits(0, 10);  // threshold 16
    const int hands = 20000;
    int weak = 0;
    int strongRaw = 0;  // how often a uniformly drawn hand rates 16 or more
    for (int i = 0; i < hands; ++i) {
        UsedCards used, other;
        Card hand[4] = {NoCard, NoCard, NoCard, NoCard};
        DealOpponentHand(bluffer, hand, used, 2);
        weak += GuessHand(hand) < 16.0f;
        const Card raw[4] = {DrawUnusedCard(other), DrawUnusedCard(other), NoCard, NoCard};
        strongRaw += GuessHand(raw) >= 16.0f;
    }
    const double q = static_cast<double>(strongRaw) / hands;
    const double expected = (1 - q) / 4 / (q + (1 - q) / 4);
    // q is itself estimated; its error moves `expected` by about as much as the share's own.
    EXPECT_NEAR(static_cast<double>(weak) / hands, expected,
                2 * Tolerance * StandardError(expected, hands));
}

TEST_F(WinEstimate, AnIncompleteHoleChangesNothing)
{
    Seat(3);
    SetControlText(appState.mainDialog, WinShareControl, "untouched");
    Estimate({Of(Ace, 0)}, {}, 1);
    appState.gameVariant = OmahaHoldem;
    Estimate({Of(Ace, 0), Of(King, 0), NoCard, Of(Two, 3)}, {}, 1);
    EXPECT_EQ(appState.outcomeCounts.total(), 0);
    EXPECT_EQ(Text(WinShareControl), "untouched");
    EXPECT_EQ(Text(TieShareControl), "1000");
}

TEST_F(WinEstimate, OnlyPlayingOrModelledPlayersAreDealtIn)
{
    // An empty roster, and nobody playing without modelling: every deal won.
    for (int players : {0, 4}) {
        Seat(players, 5, 5, false);
        Estimate({Of(Two, 0), Of(Seven, 1)}, {}, 2);
        EXPECT_EQ(appState.outcomeCounts.wins, 2 * DealsPerEstimate);
        EXPECT_EQ(Text(WinShareControl), "100.00%");
        EXPECT_EQ(Text(TieShareControl), "0.00%");
        EXPECT_EQ(Text(LossShareControl), "0.00%");
    }
    // With modelling, players who are not playing take part with weak hands.
    Modelling(true);
    Seat(4, 5, 5, false);
    Estimate({Of(Two, 0), Of(Seven, 1)}, {}, 1);
    EXPECT_EQ(appState.outcomeCounts.total(), DealsPerEstimate);
    EXPECT_GT(appState.outcomeCounts.losses, DealsPerEstimate / 2);
}

TEST_F(WinEstimate, DrawnBoardCardsNeverRepeatTheChosenOnesAndEqualHandsTie)
{
    // The hero holds the fourth King: a drawn duplicate King would let opponents tie with four.
    Seat(5);
    Estimate({Of(King, 3), Of(Ace, 3)}, {NoCard, Of(King, 0), Of(King, 1), Of(King, 2)}, Batches);
    EXPECT_EQ(appState.outcomeCounts.ties, 0);
    EXPECT_LT(Share(appState.outcomeCounts.losses), 0.02);  // only straight flushes beat it
    // A royal flush on the board: every deal a tie.
    Seat(1);
    Estimate({Of(Two, 1), Of(Three, 2)},
             {Of(Ace, 3), Of(King, 3), Of(Queen, 3), Of(Jack, 3), Of(Ten, 3)}, 1);
    EXPECT_EQ(appState.outcomeCounts.ties, DealsPerEstimate);
    EXPECT_EQ(Text(TieShareControl), "100.00%");
}

TEST_F(WinEstimate, GuessHandReadsTheHighestTwoCardsInOmaha)
{
    StartingHandTable& table = appState.startingHandTable;
    table.offsuit[King][King] = 50;
    table.offsuit[King][Queen] = table.offsuit[Queen][King] = 30;
    table.suited[King][Queen] = table.suited[Queen][King] = 35;
    table.offsuit[Five][Five] = -20;
    appState.gameVariant = OmahaHoldem;
    // K,2,K,5 is a pair of Kings; 5,Q,5,K is King-Queen; of two Queens the earlier one counts.
    const std::pair<std::array<Card, 4>, float> cases[] = {
        {{Of(King, 0), Of(Two, 0), Of(King, 1), Of(Five, 0)}, 50.0f},
        {{Of(Five, 0), Of(Queen, 1), Of(Five, 2), Of(King, 3)}, 30.0f},
        {{Of(King, 0), Of(Queen, 0), Of(Queen, 1), Of(Two, 2)}, 35.0f},
        {{Of(King, 0), Of(Queen, 1), Of(Queen, 0), Of(Two, 2)}, 30.0f}};
    for (const auto& [hand, rating] : cases)
        EXPECT_EQ(GuessHand(hand.data()), rating);
    EXPECT_TRUE(HeadlessMessageBoxes().empty());
}

TEST_F(WinEstimate, CrowdedTablesFinishAndCountEveryDeal)
{
    Modelling(true);
    Seat(30);
    Estimate({Of(Ace, 0), Of(King, 1)}, {}, 1);
    EXPECT_EQ(appState.outcomeCounts.total(), DealsPerEstimate);

    appState.gameVariant = OmahaHoldem;
    Seat(11);
    for (int i = 0; i < 3; ++i)  // beyond the deck's reach, wanting weak hands
        appState.roster.append(Traits(10, 0, false));
    for (bool modelling : {true, false}) {
        Modelling(modelling);
        ResetForOpponentChange(appState);
        Estimate({Of(Ace, 0), Of(King, 1), Of(Queen, 2), Of(Jack, 3)}, {}, 1);
        EXPECT_EQ(appState.outcomeCounts.total(), DealsPerEstimate);
    }
}

TEST_F(WinEstimate, CautiousPlayersLateInACrowdedDealFinish)
{
    Modelling(true);
    for (GameVariant variant : {TexasHoldem, OmahaHoldem}) {
        appState.gameVariant = variant;
        Seat(variant == TexasHoldem ? 22 : 10, 0, 0);
        Estimate({Of(Ace, 0), Of(Ace, 1), Of(King, 0), Of(King, 1)}, {}, 1);
        EXPECT_EQ(appState.outcomeCounts.total(), DealsPerEstimate) << variant;
    }

    // With only weak cards left, a cautious player keeps the last hand drawn.
    appState.gameVariant = TexasHoldem;
    UsedCards used;
    used.flag.fill(1);
    used[Of(Two, 0)] = used[Of(Seven, 1)] = used[Of(Three, 2)] = 0;
    Card hand[4] = {NoCard, NoCard, NoCard, NoCard};
    EXPECT_FALSE(DealOpponentHand(Traits(0, 0), hand, used, 2));
    EXPECT_NE(hand[0], hand[1]);
    for (int k = 0; k < 2; ++k) {
        EXPECT_TRUE(hand[k] == Of(Two, 0) || hand[k] == Of(Seven, 1) || hand[k] == Of(Three, 2));
        EXPECT_EQ(used[hand[k]], 1);
    }
}

TEST_F(WinEstimate, AnEmptyTableCannotTrapAFoldedAggressivePlayer)
{
    // Every hand rates 0 before the table is computed; a folded player at aggression 8 or more
    // (threshold 0 or below) can never get a hand rated below it.
    appState.startingHandTable = StartingHandTable{};
    UsedCards used;
    Card hand[4] = {NoCard, NoCard, NoCard, NoCard};
    EXPECT_FALSE(DealOpponentHand(Traits(9, 5, false), hand, used, 2));
    EXPECT_NE(hand[0], hand[1]);
    EXPECT_EQ(used[hand[0]] + used[hand[1]], 2);
    Modelling(true);
    Seat(3, 8, 0, false);
    Estimate({Of(Ace, 0), Of(King, 1)}, {}, 1);
    EXPECT_EQ(appState.outcomeCounts.total(), DealsPerEstimate);
}

TEST_F(WinEstimate, TheGainCountsThePlayingPlayersTheDeckServes)
{
    // The user holds the royal flush in spades and wins every deal, so the gain is
    // (1000 / 1000.001 * (n + 1) - 1) * 100 for n opponents sharing the pot: 499.9994 for 5,
    // 999.9989 for 10, 2199.9977 for 22. The deck serves 10 players in Omaha (43 cards left
    // after the user's four and the board) and 22 in Texas (45 left), in roster order.
    struct Case {
        GameVariant variant;
        int players;
        bool everyOtherPlaying;  // else all playing
        bool modelling;
        float gain;
    };
    const Case cases[] = {
        {OmahaHoldem, 22, false, true, 999.9989f},    // ten dealt in, not 22
        {OmahaHoldem, 22, true, true, 499.9994f},     // the playing among the first ten
        {OmahaHoldem, 22, true, false, 999.9989f},    // the first ten of the 11 playing
        {TexasHoldem, 30, false, false, 2199.9977f},  // 22 dealt in
        {TexasHoldem, 5, false, true, 499.9994f},     // a table the deck serves whole
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.variant << " " << c.players << " "
                                          << c.everyOtherPlaying << " " << c.modelling);
        appState.gameVariant = c.variant;
        Modelling(c.modelling);
        Seat(c.players);
        for (int p = 0; p < c.players; ++p)
            appState.roster.at(p).playing = !c.everyOtherPlaying || p % 2 == 0;
        const Card hole[4] = {Of(Ace, 3), Of(King, 3), Of(Two, 0), Of(Three, 1)};
        const Card board[5] = {Of(Queen, 3), Of(Jack, 3), Of(Ten, 3), Of(Four, 2), Of(Five, 0)};
        EstimateWin(hole, board);
        ASSERT_EQ(appState.outcomeCounts.wins, DealsPerEstimate);
        EXPECT_NEAR(gainPercent, c.gain, 0.01f);
    }
}
