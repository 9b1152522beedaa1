// The starting-hand table: its walk, repeatability, shape and values against heads-up equity.
#include "odds/starting_hands.h"

#include "app/state.h"
#include "cards/evaluator.h"
#include "platform/headless/headless.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

namespace {

constexpr double Tolerance = 4.0;  // standard errors

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

class StartingHands : public ::testing::Test {
protected:
    void SetUp() override
    {
        HeadlessReset();
        ResetAppState(appState);
        paints.clear();
    }
    void TearDown() override { SetUp(); }  // leave no state to the next suite
};

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

// The heads-up value of two cards against one random hand on a random board, from a shuffled
// deck of its own; its standard error goes to `error`.
double ReferenceValue(Card first, Card second, double& error)
{
    constexpr int trials = 400000;
    std::mt19937 engine(12345);
    std::vector<Card> deck;
    for (Card c = 0; c < CardCount; ++c)
        if (c != first && c != second)
            deck.push_back(c);
    const Card hero[4] = {first, second, NoCard, NoCard};
    double score = 0;  // a win counts 1, a tie 1/2
    for (int t = 0; t < trials; ++t) {
        for (std::size_t i = 0; i < 7; ++i)  // five board and two opponent cards
            std::swap(deck[i], deck[std::uniform_int_distribution<std::size_t>(i, 49)(engine)]);
        const Card opponent[4] = {deck[5], deck[6], NoCard, NoCard};
        const HandScore h = EvaluateTexas(hero, deck.data(), NoThreshold);
        const HandScore o = EvaluateTexas(opponent, deck.data(), NoThreshold);
        score += h > o ? 1.0 : (h == o ? 0.5 : 0.0);
    }
    const double share = score / trials;
    error = 200.0 * std::sqrt(share * (1 - share) / trials);
    return (2 * share - 1) * 100;
}

}  // namespace

TEST_F(StartingHands, CellsAreComputedRowByRowOverTheUpperTriangle)
{
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
    // Further calls step nowhere and do no work.
    const StartingHandTable before = table;
    const std::uint32_t randomBefore = randomState;
    EXPECT_TRUE(ComputeNextCell(QuickCalculation));
    EXPECT_TRUE(ComputeNextCell(DetailedCalculation));
    EXPECT_TRUE(SameValues(table, before));
    EXPECT_EQ(table.cursorRow * 13 + table.cursorColumn, 12 * 13 + 12);
    EXPECT_EQ(appState.precalcCellsDone, StartingHandCells);
    EXPECT_EQ(paints.size(), static_cast<std::size_t>(StartingHandCells));
    EXPECT_EQ(randomState, randomBefore);
}

TEST_F(StartingHands, ALevelGivesTheSameTableValueForValueOnEveryRun)
{
    for (int level : {QuickCalculation, NormalCalculation}) {
        const StartingHandTable first = ComputeTable(level);
        for (int i = 0; i < 1000; ++i)  // whatever ran before, start-up begins at state 1
            NextRandom();
        EXPECT_TRUE(SameValues(first, ComputeTable(level))) << "level " << level;
    }
    // The values do come from the generator: another start gives another table.
    EXPECT_FALSE(SameValues(ComputeTable(QuickCalculation), ComputeTable(QuickCalculation, 2)));
}

// A value's error is at most that of its level^2 x 1500 / 4 boards as independent trials; the
// mean of 100 Quick values, with the error of their spread, shows any bias (draws, tie rule).
TEST_F(StartingHands, ValuesAgreeWithTheHeadsUpEquityAgainstOneRandomHand)
{
    enum { Ace = 0, Two = 1, Seven = 6, King = 12 };
    const std::array<Card, 2> hands[] = {
        {Ace, 13 + Ace}, {Seven, 13 + Two}, {Ace, King}, {Two, 13 + Two}};
    double references[4], referenceErrors[4];
    for (std::size_t i = 0; i < 4; ++i)
        references[i] = ReferenceValue(hands[i][0], hands[i][1], referenceErrors[i]);
    EXPECT_NEAR(references[0], 70.4, 1.0);   // Aces
    EXPECT_NEAR(references[1], -31.0, 1.5);  // Seven-Two offsuit

    SeedRandom(1);
    for (std::size_t i = 0; i < 4; ++i) {
        const double share = (references[i] / 100 + 1) / 2;
        for (int level : {QuickCalculation, NormalCalculation, DetailedCalculation}) {
            const double error =
                200.0 * std::sqrt(share * (1 - share) / (level * level * 1500 / 4));
            EXPECT_NEAR(StartingHandEquity(hands[i].data(), level), references[i],
                        Tolerance * std::hypot(error, referenceErrors[i]))
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
        EXPECT_NEAR(mean, references[i], Tolerance * std::hypot(error, referenceErrors[i]))
            << "hand " << i << ", mean of " << runs << " Quick values";
    }
}
