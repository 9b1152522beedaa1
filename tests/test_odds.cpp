// The odds engine: the win estimate against exact and known odds and its opponent model, the
// final-hand distribution against exact enumeration, the starting-hand table against equity.
// Statistical checks hold within Tolerance standard errors, with fixed seeds.
#include "odds/final_hands.h"
#include "odds/starting_hands.h"
#include "odds/win_estimate.h"

#include "app/result_bars.h"
#include "app/state.h"
#include "odds/evaluate_hand.h"
#include "odds/hand_description.h"
#include "platform/headless/headless.h"
#include "render/gain.h"
#include "tests/support/card_text.h"
#include "tests/support/exact_final_hands.h"
#include "tests/support/quick_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <random>
#include <string_view>
#include <vector>

namespace {

constexpr double Tolerance = 4.0;  // standard errors

#if defined(TABLEWISE_SANITIZED)
constexpr int Batches = 30;  // fewer deals under the sanitizers: wider, still stated, tolerances
#else
constexpr int Batches = 200;
#endif

// The state reset, the quick starting-hand table, the main dialog, a fixed seed; helpers for the
// cards written as text (tests/support/card_text.h).
class WinEstimate : public ::testing::Test {
protected:
    void SetUp() override
    {
        const StartingHandTable& quickTable = QuickStartingHandTable();
        HeadlessReset();
        ResetAppState(appState);
        appState.startingHandTable = quickTable;
        CreateDrawingObjects();
        appState.mainDialog = CreateModelessDialog(101, nullptr, nullptr);
        SeedRandom(20240611);
    }
    void TearDown() override
    {
        EXPECT_TRUE(HeadlessMessageBoxes().empty());
        ResetAppState(appState);
        HeadlessReset();
    }
    static double StandardError(double p, double n) { return std::sqrt(p * (1 - p) / n); }
    static std::string Text(int id) { return ControlText(appState.mainDialog, id); }
    static double Share(std::int64_t n)
    {
        return double(n) / double(appState.outcomeCounts.total());
    }
    static Player Traits(int aggression, int bluffing, bool playing = true)
    {
        return {"", bluffing, aggression, playing, MarkerEdgeMargin, MarkerEdgeMargin};
    }
    // Clears the estimate and seats `count` players with the traits given.
    static void Seat(int count, int aggression = 5, int bluffing = 5, bool playing = true)
    {
        ResetForOpponentChange(appState);
        appState.roster.clear();
        for (int i = 0; i < count; ++i)
            appState.roster.append(Traits(aggression, bluffing, playing));
    }
    // Runs `calls` estimates for the cards given; returns the counts.
    static const OutcomeCounts& Estimate(std::string_view hole, std::string_view board, int calls)
    {
        for (int i = 0; i < calls; ++i)
            EstimateWin(Cards<4>(hole).data(), Cards<5>(board).data());
        return appState.outcomeCounts;
    }
    // A deal of the hole and board cards, with the final-hand counts cleared.
    static void Deal(std::string_view hole, std::string_view board = "")
    {
        appState.holeCards = Cards<4>(hole);
        appState.tableCards = Cards<5>(board);
        ClearHandTypeCounts(appState);
    }
    static int Total()
    {
        return std::accumulate(appState.handTypeCounts.begin(), appState.handTypeCounts.end(), 0);
    }
    // The timer's loop: advance while the counters sum to less than the cap. Returns the ticks.
    static int RunUntilCapped()
    {
        int ticks = 0;
        for (; Total() < FinalHandCountCap; ++ticks)
            AdvanceFinalHandDistribution();
        return ticks;
    }
    // Each category's count lies within Tolerance binomial standard errors of the exact share.
    static void ExpectSampledFrom(const HandTypeCounts& exact)
    {
        const double all = std::accumulate(exact.begin(), exact.end(), 0.0);
        for (std::size_t i = 0; i < HandTypeCount; ++i)
            EXPECT_NEAR(appState.handTypeCounts[i] / double(Total()), exact[i] / all,
                        Tolerance * StandardError(exact[i] / all, Total()))
                << "category " << i;
    }
};
using FinalHands = WinEstimate;
using StartingHands = WinEstimate;

}  // namespace

TEST_F(WinEstimate, SharesMatchTheExactHeadsUpOddsAndTheKnownMultiwayEquity)
{
    // Q-J of spades on T-Q-4 (two spades): every turn, river and opponent hand of the 47 cards
    // left counted.
    const auto hole = Cards<4>("Qs Js");
    auto full = Cards<5>("Ts Qd 4s");
    std::vector<Card> left;
    for (Card c = 0; c < CardCount; ++c)
        if (std::count(full.begin(), full.end(), c) + std::count(hole.begin(), hole.end(), c) == 0)
            left.push_back(c);
    double wins = 0, ties = 0, deals = 0;
    for (std::size_t t = 0; t < left.size(); ++t)
        for (std::size_t r = t + 1; r < left.size(); ++r) {
            full[3] = left[t];
            full[4] = left[r];
            const HandScore hero = EvaluateTexas(hole.data(), full.data(), NoThreshold);
            for (std::size_t a = 0; a < left.size(); ++a)
                for (std::size_t b = a + 1; b < left.size(); ++b) {
                    if (a == t || a == r || b == t || b == r)
                        continue;
                    const Card other[4] = {left[a], left[b], NoCard, NoCard};
                    const HandScore s = EvaluateTexas(other, full.data(), NoThreshold);
                    wins += hero > s;
                    ties += hero == s;
                    deals += 1;
                }
        }
    Seat(1);
    const OutcomeCounts& c = Estimate("Qs Js", "Ts Qd 4s", Batches);
    ASSERT_EQ(c.total(), std::int64_t{Batches} * DealsPerEstimate);
    const std::pair<std::int64_t, double> shares[] = {
        {c.wins, wins / deals}, {c.ties, ties / deals}, {c.losses, 1 - (wins + ties) / deals}};
    for (int i = 0; i < 3; ++i) {
        const auto [count, p] = shares[i];
        EXPECT_NEAR(Share(count), p, Tolerance * StandardError(p, c.total()));
        char percent[32];
        std::snprintf(percent, sizeof percent, "%.2f%%", 100.0 * Share(count));
        EXPECT_EQ(Text(WinShareControl + i), percent);  // the accumulated shares of every deal
    }

    // Aces against one to five random hands: win plus half the ties, in percent, rounded to
    // 0.1 (the rounding widens the tolerance).
    const double known[5] = {85.2, 73.4, 63.8, 55.9, 49.2};
    for (int opponents = 1; opponents <= 5; ++opponents) {
        Seat(opponents);
        Estimate("As Ah", "", Batches);
        const double equity = Share(c.wins) + 0.5 * Share(c.ties);
        const double second = Share(c.wins) + 0.25 * Share(c.ties);
        EXPECT_NEAR(100 * equity, known[opponents - 1],
                    100 * Tolerance * std::sqrt((second - equity * equity) / c.total()) + 0.05)
            << opponents << " opponents";
    }
}

TEST_F(WinEstimate, EqualHandsTieUnlessALaterOpponentWins)
{
    // The hero holds the fourth King: a drawn duplicate King would let opponents tie with four.
    Seat(5);
    const OutcomeCounts& c = Estimate("Kc Ac", "-- Ks Kh Kd", Batches);
    EXPECT_EQ(c.ties, 0);
    EXPECT_LT(Share(c.losses), 0.02);  // only straight flushes beat it
    // A royal flush on the board: every deal a tie.
    Seat(1);
    Estimate("2h 3d", "Ac Kc Qc Jc Tc", 1);
    EXPECT_EQ(c.ties, DealsPerEstimate);
    EXPECT_EQ(Text(TieShareControl), "100.00%");
    // A King-high straight on the board: every opponent ties it, or beats it with an Ace. Five
    // opponents all tie when none of the 10 cards dealt of the 45 left is one of the 4 Aces; an
    // opponent who ties does not save a deal that a later one wins.
    Seat(5);
    Estimate("2s 3s", "9c Th Jd Qh Kd", Batches / 10);
    const double allTie = 35.0 * 34 * 33 * 32 / (45.0 * 44 * 43 * 42);  // C(41,10) / C(45,10)
    EXPECT_EQ(c.wins, 0);
    EXPECT_NEAR(Share(c.ties), allTie, Tolerance * StandardError(allTie, c.total()));
}

TEST_F(WinEstimate, OnlyCompleteHolesAndPlayingOrModelledPlayersCount)
{
    Seat(3);
    SetControlText(appState.mainDialog, WinShareControl, "untouched");
    Estimate("As", "", 1);
    appState.gameVariant = OmahaHoldem;
    Estimate("As Ks -- 2c", "", 1);
    EXPECT_EQ(appState.outcomeCounts.total(), 0);
    EXPECT_EQ(Text(WinShareControl), "untouched");
    EXPECT_EQ(Text(TieShareControl), "1000");
    appState.gameVariant = TexasHoldem;

    // An empty roster, and nobody playing without modelling: every deal won.
    for (int players : {0, 4}) {
        Seat(players, 5, 5, false);
        EXPECT_EQ(Estimate("2s 7h", "", 2).wins, 2 * DealsPerEstimate);
        EXPECT_EQ(Text(WinShareControl), "100.00%");
        EXPECT_EQ(Text(TieShareControl), "0.00%");
        EXPECT_EQ(Text(LossShareControl), "0.00%");
    }
    // With modelling, players who are not playing take part with weak hands.
    SetControlChecked(appState.mainDialog, ModellingCheckBox, true);
    Seat(4, 5, 5, false);
    EXPECT_EQ(Estimate("2s 7h", "", 1).total(), DealsPerEstimate);
    EXPECT_GT(appState.outcomeCounts.losses, DealsPerEstimate / 2);
}

TEST_F(WinEstimate, ModelledHandsFitTheirPlayersAndCautiousTablesBeatTheHeroMoreOften)
{
    struct Case {
        Player player;
        float atLeast, below;
    };
    const Case cases[] = {
        {Traits(0, 0), 16, 1000},         // plays only hands rated 16 or more
        {Traits(5, 5, false), -1000, 6},  // not playing: dealt hands rated below 6
        {Traits(10, 0), -4, 1000},        // takes anything rated -4 or more
    };
    for (GameVariant variant : {TexasHoldem, OmahaHoldem}) {
        appState.gameVariant = variant;
        for (const Case& c : cases)
            for (int i = 0; i < 2000; ++i) {
                UsedCards used;
                Card hand[4] = {NoCard, NoCard, NoCard, NoCard};
                ASSERT_TRUE(DealOpponentHand(c.player, hand, used, HoleCount(variant)));
                ASSERT_GE(GuessHand(hand), c.atLeast) << variant;
                ASSERT_LT(GuessHand(hand), c.below) << variant;
            }
    }
    appState.gameVariant = TexasHoldem;
    SetControlChecked(appState.mainDialog, ModellingCheckBox, true);
    auto winShare = [&](int aggression, int bluffing) {
        Seat(3, aggression, bluffing);
        return Share(Estimate("Ks 9h", "", Batches / 2).wins);
    };
    const double cautious = winShare(0, 0);
    const double loose = winShare(10, 10);
    const double n = Batches / 2 * DealsPerEstimate;
    EXPECT_LT(cautious + Tolerance * (StandardError(cautious, n) + StandardError(loose, n)), loose);
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
    // The draw alone, on uniform generator values: bluffing b passes with chance b / 40.
    std::mt19937 values(5);
    for (int b = 0; b <= 10; ++b) {
        int passed = 0;
        for (int i = 0; i < 400000; ++i)
            passed += PassesBluffDraw(b, values() % 32768, values() % 32768);
        EXPECT_NEAR(passed / 400000.0, b / 40.0, Tolerance * StandardError(b / 40.0, 400000)) << b;
    }
}

TEST_F(WinEstimate, GuessHandReadsTheHighestTwoCardsInOmaha)
{
    StartingHandTable& table = appState.startingHandTable;
    table.offsuit[12][12] = 50;                          // King-King
    table.offsuit[12][11] = table.offsuit[11][12] = 30;  // King-Queen
    table.suited[12][11] = table.suited[11][12] = 35;    // suited
    table.offsuit[4][4] = -20;                           // Five-Five
    appState.gameVariant = OmahaHoldem;
    // K,2,K,5 is a pair of Kings; 5,Q,5,K is King-Queen; of two Queens the earlier one counts.
    const std::pair<const char*, float> cases[] = {{"Ks 2s Kh 5s", 50.0f},
                                                   {"5s Qh 5d Kc", 30.0f},
                                                   {"Ks Qs Qh 2d", 35.0f},
                                                   {"Ks Qh Qs 2d", 30.0f}};
    for (const auto& [hand, rating] : cases)
        EXPECT_EQ(GuessHand(Cards<4>(hand).data()), rating) << hand;
}

TEST_F(WinEstimate, TheGainCountsThePlayingPlayersTheDeckServes)
{
    // The user holds the royal flush in clubs and wins every deal, so the gain is
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
        SetControlChecked(appState.mainDialog, ModellingCheckBox, c.modelling);
        Seat(c.players);
        for (int p = 0; p < c.players; ++p)
            appState.roster.at(p).playing = !c.everyOtherPlaying || p % 2 == 0;
        ASSERT_EQ(Estimate("Ac Kc 2s 3h", "Qc Jc Tc 4d 5s", 1).wins, DealsPerEstimate);
        EXPECT_NEAR(gainPercent, c.gain, 0.01f);
    }
}

TEST_F(FinalHands, WithoutBoardTenBatchesMatchTheExactOdds)
{
    // No cards: the seven-card category odds; a complete hole: every board counted.
    for (const char* hole : {"", "As Ah", "As Ks 7h 7d"}) {
        SCOPED_TRACE(hole);
        appState.gameVariant = std::strlen(hole) > 5 ? OmahaHoldem : TexasHoldem;
        Deal(hole);
        AdvanceFinalHandDistribution();
        EXPECT_EQ(Total(), FinalHandBatchSize);
        for (int i = HighCard; i < Straight; ++i)  // the bars end with the complete batch
            EXPECT_EQ(Text(FirstPercentControl + i),
                      FormatPercent(appState.handTypeCounts[i], FinalHandBatchSize));
        EXPECT_EQ(Text(BestPossibleControl), "Royal Flush");
        EXPECT_EQ(RunUntilCapped(), 9);
        ExpectSampledFrom(*hole ? ExactFinalHandCounts(appState.holeCards.data(), nullptr, 0)
                                : SevenCardHandCounts);
    }
}

TEST_F(FinalHands, MissingCardsAreDrawnIntoTheirOwnSlotsOnly)
{
    // One missing hole card with a full board: only that card is drawn.
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
    ExpectSampledFrom(exact);

    // An incomplete hole and a board with gaps: the same draws as the cards at the front.
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
            EXPECT_EQ(Text(BestPossibleControl), "Royal Flush");
        }
        if (c.ticksToCap > 0) {
            ClearHandTypeCounts(appState);
            EXPECT_EQ(RunUntilCapped(), c.ticksToCap);  // Texas: 23 ticks make 49,726
        }
    }
}

TEST_F(FinalHands, BestPossibleHandTakesEachMissingCardAsTheMostHelpfulOne)
{
    struct Case {
        GameVariant variant;
        const char *hole, *board;
        HandScore expected;
    };
    const Case cases[] = {
        {TexasHoldem, "7s 2h", "", 0x900000},                // five or more missing
        {TexasHoldem, "Ac 2h", "Kc 3s", 0x900000},           // a Royal Flush still open
        {TexasHoldem, "As Kh", "Ad Kc 7s", 0x7ED000},        // two missing: four Aces, a King
        {TexasHoldem, "As Ah", "Kd Kc Qs Qh", 0x6ED000},     // one missing: the best pairs' house
        {TexasHoldem, "As Kh", "9d 6c 2s", 0x3E0000},        // no better than trips of the top
        {TexasHoldem, "As Kh", "Qd Jc 2s 2h", 0x4E0000},     // the straight to the Ace
        {TexasHoldem, "As Ah", "9d 6c 2s 4c", 0x3E0000},     // one missing, a single pair: trips
        {TexasHoldem, "8s 8h", "Kd 6c 2s Jh", 0x380000},     // .. of that pair, not the top card
        {TexasHoldem, "8s 4h", "Kd 6c 2s Qh", 0x1D0000},     // one missing, no pair: top pair
        {TexasHoldem, "8s 4s", "Ks 6c 2s Qh", 0x500000},     // four of a suit: a Flush, no ranks
        {TexasHoldem, "As Kh", "Qd Jc 2s 2h Tc", 0x4E0000},  // every card known: the exact score
        {TexasHoldem, "9s 4h", "Qd Jc 2s 2h Tc", 0x12CBA0},
        {OmahaHoldem, "3s 4s 5s 6s", "9c Tc Jc Qc", 0x8D0000},  // the best straight flush a suit
    };                                                          // allows, here to the King
    for (const Case& c : cases) {
        appState.gameVariant = c.variant;
        Deal(c.hole, c.board);
        EXPECT_EQ(BestPossibleHand(), c.expected) << c.hole << " | " << c.board;
        AdvanceFinalHandDistribution();
        EXPECT_EQ(Text(BestPossibleControl), HandDescription(c.expected));
    }
}

namespace {

// Each repaint of the precalculation dialog: cells counted, cursor, whether that cell was empty.
std::vector<std::array<int, 4>> paints;

int RecordingPrecalcProc(Window, Message message, const MessageParams&)
{
    const StartingHandTable& t = appState.startingHandTable;
    if (message == Message::Paint)
        paints.push_back({appState.precalcCellsDone, t.cursorRow, t.cursorColumn,
                          t.offsuit[t.cursorRow][t.cursorColumn] == 0.0f});
    return message == Message::Paint;
}

// The whole table computed from generator state `seed`.
StartingHandTable ComputeTable(int level, std::uint32_t seed = 1)
{
    ResetAppState(appState);
    SeedRandom(seed);
    while (!ComputeNextCell(level)) {
    }
    return appState.startingHandTable;
}

bool SameValues(const StartingHandTable& a, const StartingHandTable& b)
{
    return std::memcmp(a.suited, b.suited, sizeof a.suited) == 0 &&
           std::memcmp(a.offsuit, b.offsuit, sizeof a.offsuit) == 0;
}

}  // namespace

TEST_F(StartingHands, CellsAreComputedRowByRowTheSameOnEveryRun)
{
    ResetAppState(appState);
    paints.clear();
    appState.precalcDialog = HeadlessCreateWindow(RecordingPrecalcProc, 300, 60);
    SeedRandom(1);
    for (int call = 1; call <= StartingHandCells; ++call)
        EXPECT_EQ(ComputeNextCell(QuickCalculation), call == StartingHandCells) << call;
    // One repaint per cell, after moving to and counting it, before computing it.
    ASSERT_EQ(paints.size(), static_cast<std::size_t>(StartingHandCells));
    std::size_t cell = 0;
    for (int row = 0; row < 13; ++row)
        for (int column = row; column < 13; ++column, ++cell)
            EXPECT_EQ(paints[cell],
                      (std::array<int, 4>{static_cast<int>(cell) + 1, row, column, 1}));

    // Symmetric, a zero suited diagonal, values in range.
    const StartingHandTable& table = appState.startingHandTable;
    EXPECT_GT(table.offsuit[0][0], 50.0f);  // a pair of Aces
    for (int a = 0; a < 13; ++a) {
        EXPECT_EQ(table.suited[a][a], 0.0f);
        for (int b = 0; b < 13; ++b) {
            EXPECT_EQ(table.suited[a][b], table.suited[b][a]);
            EXPECT_EQ(table.offsuit[a][b], table.offsuit[b][a]);
            for (float v : {table.suited[a][b], table.offsuit[a][b]})
                EXPECT_LE(std::fabs(v), 100.0f);
        }
    }
    // A level gives the same table on every run, whatever ran before: start-up begins at state
    // 1. The values do come from the generator: another start gives another table.
    for (int level : {QuickCalculation, NormalCalculation}) {
        const StartingHandTable first = ComputeTable(level);
        for (int i = 0; i < 1000; ++i)
            NextRandom();
        EXPECT_TRUE(SameValues(first, ComputeTable(level))) << "level " << level;
    }
    EXPECT_FALSE(SameValues(ComputeTable(QuickCalculation), ComputeTable(QuickCalculation, 2)));
}

// A value's error is at most that of its level^2 x 1500 / 4 boards as independent trials; the
// mean of 100 Quick values, with the error of their spread, shows any bias (draws, tie rule).
// The reference: the heads-up value against one random hand on a random board, from a shuffled
// deck of its own (400,000 deals for an error of about 0.15).
TEST_F(StartingHands, ValuesAgreeWithTheHeadsUpEquityAgainstOneRandomHand)
{
    const std::array<Card, 2> hands[] = {{0, 13}, {6, 14}, {0, 12}, {1, 14}};  // AA 72o AK 22
    for (std::size_t i = 0; i < 4; ++i) {
        constexpr int trials = 400000;
        std::mt19937 engine(12345);
        std::vector<Card> deck;
        for (Card c = 0; c < CardCount; ++c)
            if (c != hands[i][0] && c != hands[i][1])
                deck.push_back(c);
        const Card hero[4] = {hands[i][0], hands[i][1], NoCard, NoCard};
        double score = 0;  // a win counts 1, a tie 1/2
        for (int t = 0; t < trials; ++t) {
            for (std::size_t k = 0; k < 7; ++k)  // five board and two opponent cards
                std::swap(deck[k], deck[std::uniform_int_distribution<std::size_t>(k, 49)(engine)]);
            const Card opponent[4] = {deck[5], deck[6], NoCard, NoCard};
            const HandScore h = EvaluateTexas(hero, deck.data(), NoThreshold);
            const HandScore o = EvaluateTexas(opponent, deck.data(), NoThreshold);
            score += h > o ? 1.0 : (h == o ? 0.5 : 0.0);
        }
        const double share = score / trials;
        const double reference = (2 * share - 1) * 100;
        const double referenceError = 200.0 * StandardError(share, trials);

        SeedRandom(1);
        for (int level : {QuickCalculation, NormalCalculation, DetailedCalculation}) {
            const double error = 200.0 * StandardError(share, level * level * 1500 / 4);
            EXPECT_NEAR(StartingHandEquity(hands[i].data(), level), reference,
                        Tolerance * std::hypot(error, referenceError))
                << "hand " << i << " at level " << level;
        }
        constexpr int runs = 100;
        double sum = 0, sumOfSquares = 0;
        for (int run = 0; run < runs; ++run) {
            const double value = StartingHandEquity(hands[i].data(), QuickCalculation);
            sum += value;
            sumOfSquares += value * value;
        }
        const double mean = sum / runs;
        const double error = std::sqrt((sumOfSquares - runs * mean * mean) / (runs - 1) / runs);
        EXPECT_NEAR(mean, reference, Tolerance * std::hypot(error, referenceError))
            << "hand " << i << ", mean of " << runs << " Quick values";
    }
}
