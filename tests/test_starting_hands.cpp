#include "odds/starting_hands.h"

#include "app/state.h"
#include "cards/evaluator.h"
#include "platform/headless/headless.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

namespace {

enum Rank { Ace, Two, Three, Four, Five, Six, Seven, Eight, Nine, Ten, Jack, Queen, King };

// Statistical checks accept a deviation of up to this many standard errors.
constexpr double Tolerance = 4.0;

constexpr int ReferenceTrials = 400000;
constexpr int RepeatedValues = 100;
constexpr int RepeatedLevels[] = {QuickCalculation, NormalCalculation};

// What the precalculation dialog's paint handler saw: the progress count and whether the cell
// about to be computed was still empty.
struct PaintRecord {
    int cellsDone = 0;
    int row = 0;
    int column = 0;
    bool cellStillEmpty = false;
};
std::vector<PaintRecord> paints;

int RecordingPrecalcProc(Window, Message message, const MessageParams&)
{
    if (message != Message::Paint)
        return 0;
    const StartingHandTable& t = appState.startingHandTable;
    paints.push_back({appState.precalcCellsDone, t.cursorRow, t.cursorColumn,
                      t.offsuit[t.cursorRow][t.cursorColumn] == 0.0f});
    return 1;
}

class StartingHands : public ::testing::Test {
protected:
    void SetUp() override
    {
        HeadlessReset();
        ResetAppState(appState);
        paints.clear();
    }

    void TearDown() override
    {
        ResetAppState(appState);
        HeadlessReset();
    }
};

// The table as start-up computes it: the generator fresh at state 1, 91 cells.
StartingHandTable ComputeTable(int level)
{
    ResetAppState(appState);
    SeedRandom(1);
    for (int i = 0; i < StartingHandCells; ++i)
        ComputeNextCell(level);
    return appState.startingHandTable;
}

bool SameValues(const StartingHandTable& a, const StartingHandTable& b)
{
    return std::memcmp(a.suited, b.suited, sizeof a.suited) == 0 &&
           std::memcmp(a.offsuit, b.offsuit, sizeof a.offsuit) == 0;
}

// The heads-up value of two cards against one random hand on a random board, estimated with a
// generator of its own (a shuffled deck, independent of the program's generator and draw
// order). Its standard error is returned through `standardError`.
double ReferenceValue(Card first, Card second, int trials, double& standardError)
{
    std::mt19937 engine(12345);
    std::vector<Card> deck;
    for (Card c = 0; c < CardCount; ++c)
        if (c != first && c != second)
            deck.push_back(c);
    const Card hero[4] = {first, second, NoCard, NoCard};
    double score = 0;  // a win counts 1, a tie 1/2
    for (int t = 0; t < trials; ++t) {
        // Partial Fisher-Yates: the first seven places become five board and two opponent cards.
        for (int i = 0; i < 7; ++i) {
            std::uniform_int_distribution<int> pick(i, static_cast<int>(deck.size()) - 1);
            std::swap(deck[static_cast<std::size_t>(i)],
                      deck[static_cast<std::size_t>(pick(engine))]);
        }
        const Card* board = deck.data();
        const Card opponent[4] = {deck[5], deck[6], NoCard, NoCard};
        const HandScore h = EvaluateTexas(hero, board, NoThreshold);
        const HandScore o = EvaluateTexas(opponent, board, NoThreshold);
        score += h > o ? 1.0 : (h == o ? 0.5 : 0.0);
    }
    const double share = score / trials;
    standardError = 200.0 * std::sqrt(share * (1 - share) / trials);
    return (2 * share - 1) * 100;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The walk over the table
// ---------------------------------------------------------------------------------------------

TEST_F(StartingHands, CellsAreComputedRowByRowOverTheUpperTriangle)
{
    appState.precalcDialog = HeadlessCreateWindow(RecordingPrecalcProc, 300, 60);
    SeedRandom(1);
    StartingHandTable& table = appState.startingHandTable;

    EXPECT_FALSE(ComputeNextCell(QuickCalculation));
    EXPECT_EQ(table.cursorRow, 0);
    EXPECT_EQ(table.cursorColumn, 0);
    EXPECT_GT(table.offsuit[0][0], 50.0f);  // a pair of Aces
    EXPECT_EQ(table.suited[0][0], 0.0f);
    for (int call = 2; call <= StartingHandCells; ++call) {
        const bool last = ComputeNextCell(QuickCalculation);
        EXPECT_EQ(last, call == StartingHandCells) << "call " << call;
        if (call == 13) {
            EXPECT_EQ(table.cursorRow, 0);
            EXPECT_EQ(table.cursorColumn, 12);
        } else if (call == 14) {
            EXPECT_EQ(table.cursorRow, 1);
            EXPECT_EQ(table.cursorColumn, 1);
        }
    }
    EXPECT_EQ(table.cursorRow, 12);
    EXPECT_EQ(table.cursorColumn, 12);
    EXPECT_EQ(appState.precalcCellsDone, StartingHandCells);

    // The dialog repainted once per cell, after counting it and before computing it.
    ASSERT_EQ(paints.size(), static_cast<std::size_t>(StartingHandCells));
    for (int i = 0; i < StartingHandCells; ++i) {
        EXPECT_EQ(paints[static_cast<std::size_t>(i)].cellsDone, i + 1);
        EXPECT_TRUE(paints[static_cast<std::size_t>(i)].cellStillEmpty) << "cell " << i;
    }
    int cell = 0;
    for (int row = 0; row < 13; ++row) {
        for (int column = row; column < 13; ++column, ++cell) {
            EXPECT_EQ(paints[static_cast<std::size_t>(cell)].row, row);
            EXPECT_EQ(paints[static_cast<std::size_t>(cell)].column, column);
        }
    }

    // Symmetric tables, a zero suited diagonal, values in range.
    for (int a = 0; a < 13; ++a) {
        EXPECT_EQ(table.suited[a][a], 0.0f);
        for (int b = 0; b < 13; ++b) {
            EXPECT_EQ(table.suited[a][b], table.suited[b][a]);
            EXPECT_EQ(table.offsuit[a][b], table.offsuit[b][a]);
            for (float v : {table.suited[a][b], table.offsuit[a][b]}) {
                EXPECT_GE(v, -100.0f);
                EXPECT_LE(v, 100.0f);
            }
        }
    }
    // A further call must not step outside the tables: it changes nothing.
    const StartingHandTable before = table;
    const std::uint32_t randomBefore = randomState;
    EXPECT_TRUE(ComputeNextCell(QuickCalculation));
    EXPECT_TRUE(ComputeNextCell(DetailedCalculation));
    EXPECT_TRUE(SameValues(table, before));
    EXPECT_EQ(table.cursorRow, 12);
    EXPECT_EQ(table.cursorColumn, 12);
    EXPECT_EQ(appState.precalcCellsDone, StartingHandCells);
    EXPECT_EQ(paints.size(), static_cast<std::size_t>(StartingHandCells));
    EXPECT_EQ(randomState, randomBefore);  // no work done
}

TEST_F(StartingHands, ALevelGivesTheSameTableValueForValueOnEveryRun)
{
    for (int level : RepeatedLevels) {
        const StartingHandTable first = ComputeTable(level);
        for (int i = 0; i < 1000; ++i)  // whatever ran before, start-up begins at state 1
            NextRandom();
        const StartingHandTable second = ComputeTable(level);
        EXPECT_TRUE(SameValues(first, second)) << "level " << level;
    }
    // The values do come from the generator: another start gives another table.
    const StartingHandTable fromOne = ComputeTable(QuickCalculation);
    ResetAppState(appState);
    SeedRandom(2);
    for (int i = 0; i < StartingHandCells; ++i)
        ComputeNextCell(QuickCalculation);
    EXPECT_FALSE(SameValues(fromOne, appState.startingHandTable));
}

// ---------------------------------------------------------------------------------------------
// Values against the heads-up equity
// ---------------------------------------------------------------------------------------------

// A value samples B boards with 2 x level opponents each; the opponents of one board share it,
// so the standard error is bounded by that of B independent trials:
// 200 x sqrt(share x (1 - share) / B). The check allows Tolerance such errors, plus those of
// the reference.
TEST_F(StartingHands, ValuesAgreeWithTheHeadsUpEquityAgainstOneRandomHand)
{
    struct Hand {
        Card first;
        Card second;
        const char* name;
    };
    const Hand hands[] = {
        {Ace, 13 + Ace, "pair of Aces"},
        {Seven, 13 + Two, "Seven-Two offsuit"},
        {Ace, King, "Ace-King suited"},
        {Two, 13 + Two, "pair of Twos"},
    };
    std::vector<double> references;
    std::vector<double> referenceErrors;
    for (const Hand& hand : hands) {
        double error = 0;
        references.push_back(ReferenceValue(hand.first, hand.second, ReferenceTrials, error));
        referenceErrors.push_back(error);
    }
    // Known values of the exact heads-up equity: Aces about +70, Seven-Two offsuit about -31.
    EXPECT_NEAR(references[0], 70.4, 1.0);
    EXPECT_NEAR(references[1], -31.0, 1.5);

    SeedRandom(1);
    for (int level : {QuickCalculation, NormalCalculation, DetailedCalculation}) {
        const int boards = level * level * 1500 / 4;
        for (std::size_t i = 0; i < std::size(hands); ++i) {
            const Card cards[2] = {hands[i].first, hands[i].second};
            const double value = StartingHandEquity(cards, level);
            const double share = (references[i] / 100 + 1) / 2;
            const double error = 200.0 * std::sqrt(share * (1 - share) / boards);
            EXPECT_NEAR(value, references[i], Tolerance * std::hypot(error, referenceErrors[i]))
                << hands[i].name << " at level " << level;
        }
    }

    // The mean of many Quick values has a far smaller error, estimated from their spread, and
    // shows any bias of the draws or of the tie rule.
    for (std::size_t i = 0; i < std::size(hands); ++i) {
        const Card cards[2] = {hands[i].first, hands[i].second};
        double sum = 0;
        double sumOfSquares = 0;
        for (int run = 0; run < RepeatedValues; ++run) {
            const double value = StartingHandEquity(cards, QuickCalculation);
            sum += value;
            sumOfSquares += value * value;
        }
        const double mean = sum / RepeatedValues;
        const double variance =
            (sumOfSquares - RepeatedValues * mean * mean) / (RepeatedValues - 1);
        const double error = std::sqrt(variance / RepeatedValues);
        EXPECT_NEAR(mean, references[i], Tolerance * std::hypot(error, referenceErrors[i]))
            << hands[i].name << ", mean of " << RepeatedValues << " Quick values";
    }
}
