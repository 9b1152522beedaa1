// The evaluator's rules on known hands, its category counts over every five- and seven-card
// hand, the threshold rule, and the key and hash properties its tables rely on.
#include "cards/evaluator.h"
#include "cards/evaluator_tables.h"

#include "app/state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace {

// Card from a rank value (2..14, Ace 14) and a suit 0..3.
constexpr Card C(int value, int suit)
{
    return suit * 13 + (value == 14 ? 0 : value - 1);
}

HandScore Texas(std::array<Card, 2> hole, std::array<Card, 5> board,
                std::int32_t threshold = NoThreshold)
{
    const Card h[4] = {hole[0], hole[1], NoCard, NoCard};
    return EvaluateTexas(h, board.data(), threshold);
}

HandScore Omaha(std::array<Card, 4> hole, std::array<Card, 5> board,
                std::int32_t threshold = NoThreshold)
{
    return EvaluateOmaha(hole.data(), board.data(), threshold);
}

HandScore Five(std::array<Card, 5> cards)
{
    return ScoreFive(cards.data());
}

// Every rank multiset with at most four of a rank and seven cards in all, as key sums.
void CollectSums(int rank, int cards, std::uint32_t sum, std::vector<std::uint32_t>& out)
{
    if (rank == 13) {
        out.push_back(sum);
        return;
    }
    for (int c = 0; c <= 4 && cards + c <= 7; ++c)
        CollectSums(rank + 1, cards + c, sum + RankKeys[static_cast<std::size_t>(rank)] * c, out);
}

}  // namespace

TEST(EvaluatorTables, RankSumsNameEveryMultisetAndHashToTheirOwnSlots)
{
    std::vector<std::uint32_t> sums;
    CollectSums(0, 0, 0, sums);
    ASSERT_EQ(sums.size(), 76155u);

    std::vector<std::uint32_t> sorted = sums;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end())
        << "two rank multisets share a key sum";
    // The suit counters sit above bit 32 and must never receive a carry from the rank sum.
    EXPECT_LT(sorted.back(), 1u << 25);

    std::vector<std::uint32_t> slots;
    for (std::uint32_t s : sums)
        slots.push_back(RankSlot(s));
    std::sort(slots.begin(), slots.end());
    EXPECT_EQ(std::adjacent_find(slots.begin(), slots.end()), slots.end())
        << "two rank multisets share a hash slot";
    EXPECT_LT(sizeof(EvaluatorTables), 1000000u);
}

TEST(Evaluator, FiveCardHandsFallIntoTheKnownCategoryCounts)
{
    std::array<std::int64_t, HandTypeCount> counts{};
    Card five[5];
    for (five[0] = 0; five[0] < 48; ++five[0])
        for (five[1] = five[0] + 1; five[1] < 49; ++five[1])
            for (five[2] = five[1] + 1; five[2] < 50; ++five[2])
                for (five[3] = five[2] + 1; five[3] < 51; ++five[3])
                    for (five[4] = five[3] + 1; five[4] < 52; ++five[4])
                        ++counts[static_cast<std::size_t>(HandTypeOf(ScoreFive(five)))];
    const std::array<std::int64_t, HandTypeCount> expected = {
        1302540, 1098240, 123552, 54912, 10200, 5108, 3744, 624, 36, 4};
    EXPECT_EQ(counts, expected);
}

// Every one of the 133,784,560 seven-card hands, best five of seven. About a second in the
// normal build and a minute or two under the sanitizers.
TEST(Evaluator, SevenCardHandsFallIntoTheKnownCategoryCounts)
{
    std::array<std::int64_t, HandTypeCount> counts{};
    Card hole[4] = {NoCard, NoCard, NoCard, NoCard};
    Card board[5];
    for (hole[0] = 0; hole[0] < 46; ++hole[0])
        for (hole[1] = hole[0] + 1; hole[1] < 47; ++hole[1])
            for (board[0] = hole[1] + 1; board[0] < 48; ++board[0])
                for (board[1] = board[0] + 1; board[1] < 49; ++board[1])
                    for (board[2] = board[1] + 1; board[2] < 50; ++board[2])
                        for (board[3] = board[2] + 1; board[3] < 51; ++board[3])
                            for (board[4] = board[3] + 1; board[4] < 52; ++board[4])
                                ++counts[static_cast<std::size_t>(
                                    HandTypeOf(EvaluateTexas(hole, board, NoThreshold)))];
    const std::array<std::int64_t, HandTypeCount> expected = {
        23294460, 58627800, 31433400, 6461620, 6180020, 4047644, 3473184, 224848, 37260, 4324};
    EXPECT_EQ(counts, expected);
}

TEST(Evaluator, StraightsCountTheAceHighOrLowButNeverAroundTheCorner)
{
    EXPECT_EQ(Five({C(14, 0), C(2, 1), C(3, 2), C(4, 3), C(5, 0)}), 0x450000);
    EXPECT_EQ(Five({C(14, 2), C(2, 2), C(3, 2), C(4, 2), C(5, 2)}), 0x850000);
    EXPECT_EQ(Five({C(6, 0), C(2, 1), C(3, 2), C(4, 3), C(5, 0)}), 0x460000);
    EXPECT_EQ(Five({C(10, 0), C(11, 1), C(12, 2), C(13, 3), C(14, 0)}), 0x4E0000);
    EXPECT_EQ(Five({C(10, 1), C(11, 1), C(12, 1), C(13, 1), C(14, 1)}), 0x900000);
    EXPECT_EQ(Five({C(13, 0), C(14, 1), C(2, 2), C(3, 3), C(4, 0)}), 0x0ED432);

    // Royal flush from the hole Ace and King with three board cards, whatever else lies there.
    EXPECT_EQ(Texas({39, 51}, {C(12, 3), C(11, 3), C(10, 3), C(2, 0), C(7, 1)}), 0x900000);
    EXPECT_EQ(Texas({39, 51}, {C(12, 3), C(11, 3), C(10, 3), C(9, 3), C(13, 0)}), 0x900000);
    // A six-card straight counts its highest five; the wheel loses to Two-to-Six.
    EXPECT_EQ(Texas({C(14, 0), C(2, 1)}, {C(3, 2), C(4, 3), C(5, 0), C(6, 1), C(13, 2)}), 0x460000);
    EXPECT_EQ(Texas({C(13, 0), C(14, 1)}, {C(2, 2), C(3, 3), C(4, 0), C(9, 1), C(8, 2)}), 0x0ED984);
}

TEST(Evaluator, TexasScoresTheBestFiveOfSeven)
{
    // Three pairs: the best two with the Queen as kicker.
    EXPECT_EQ(Texas({C(14, 0), C(14, 1)}, {C(13, 2), C(13, 3), C(2, 0), C(2, 1), C(12, 2)}),
              0x2EDC00);
    // Six of one suit: the five highest of them, a plain Flush.
    EXPECT_EQ(Texas({C(14, 2), C(3, 2)}, {C(9, 2), C(13, 2), C(7, 2), C(5, 2), C(13, 0)}),
              0x5ED975);
    // Two sets of three: the higher three with a pair of the lower.
    EXPECT_EQ(Texas({C(3, 0), C(3, 1)}, {C(3, 2), C(9, 0), C(9, 1), C(9, 2), C(14, 3)}), 0x693000);
    // Four of a kind takes the best remaining card as kicker.
    EXPECT_EQ(Texas({C(8, 0), C(8, 1)}, {C(8, 2), C(8, 3), C(13, 0), C(13, 1), C(14, 2)}),
              0x78E000);
    EXPECT_EQ(Five({C(14, 0), C(14, 1), C(14, 2), C(14, 3), C(13, 0)}), 0x7ED000);
    EXPECT_EQ(Five({C(3, 0), C(3, 1), C(3, 2), C(14, 3), C(14, 0)}), 0x63E000);
    EXPECT_EQ(Five({C(13, 0), C(13, 1), C(12, 2), C(12, 3), C(2, 0)}), 0x2DC200);
}

TEST(Evaluator, OmahaUsesExactlyTwoHoleCardsAndThreeBoardCards)
{
    // Four suited hole cards and two board cards of that suit: no flush.
    EXPECT_EQ(HandTypeOf(Omaha({C(14, 1), C(9, 1), C(7, 1), C(4, 1)},
                               {C(13, 1), C(12, 1), C(2, 0), C(5, 2), C(10, 3)})),
              HighCard);
    // Four board cards of a suit with one hole card of it: no flush.
    EXPECT_EQ(HandTypeOf(Omaha({C(14, 1), C(9, 0), C(7, 2), C(4, 3)},
                               {C(13, 1), C(12, 1), C(2, 1), C(5, 1), C(10, 3)})),
              HighCard);
    // Two suited hole cards and three board cards of the suit make it.
    EXPECT_EQ(Omaha({C(14, 1), C(9, 1), C(7, 2), C(4, 3)},
                    {C(13, 1), C(12, 1), C(2, 1), C(5, 0), C(10, 3)}),
              0x5EDC92);
    EXPECT_EQ(Omaha({39, 51, C(2, 0), C(7, 1)}, {C(12, 3), C(11, 3), C(10, 3), C(4, 0), C(5, 1)}),
              0x900000);
    // Four Aces in the hole are only a pair; a board straight needs two hole cards to count.
    EXPECT_EQ(Omaha({C(14, 0), C(14, 1), C(14, 2), C(14, 3)},
                    {C(5, 0), C(6, 1), C(7, 2), C(8, 3), C(9, 0)}),
              0x1E9870);
    // Trips on the board plus a hole pair make a full house, not four of a kind.
    EXPECT_EQ(Omaha({C(9, 0), C(9, 1), C(2, 2), C(3, 3)},
                    {C(9, 2), C(13, 0), C(13, 1), C(13, 2), C(4, 0)}),
              0x6D9000);
}

TEST(Evaluator, ThresholdStopsAtTheFirstSetThatBeatsIt)
{
    // Positions 0..6: 2, 5, 7, 9 and the two Kings at 4 and 5, then a 3. The first three sets
    // (positions 0-3 plus one of 4, 5, 6) hold one King at most; the fourth {0,1,2,4,5} pairs
    // them with 7, 5, 2, below the best pair of Kings with 9, 7, 5.
    const std::array<Card, 2> hole = {C(2, 0), C(5, 1)};
    const std::array<Card, 5> board = {C(7, 2), C(9, 3), C(13, 0), C(13, 1), C(3, 2)};
    EXPECT_EQ(Texas(hole, board), 0x1D9750);
    EXPECT_EQ(Texas(hole, board, 0x1C0000), 0x1D7520);
    // No set above the threshold: the exact maximum, so equality tells a tie.
    EXPECT_EQ(Texas(hole, board, 0x1D9750), 0x1D9750);
    EXPECT_EQ(Texas(hole, board, 0x300000), 0x1D9750);
    EXPECT_EQ(Texas(hole, board, 0x1D974F), 0x1D9750);

    // Omaha: the Aces pair up only in the last hole pair (2,3). Against Ace-Queen high, the
    // pair (0,1) stays Queen-high and (0,2) wins with its first board triple already.
    const std::array<Card, 4> omahaHole = {C(2, 0), C(8, 1), C(14, 2), C(14, 3)};
    const std::array<Card, 5> omahaBoard = {C(12, 0), C(7, 1), C(5, 2), C(9, 3), C(3, 0)};
    EXPECT_EQ(Omaha(omahaHole, omahaBoard), 0x1EC970);
    EXPECT_EQ(Omaha(omahaHole, omahaBoard, 0x0EC000), 0x0EC752);
    EXPECT_EQ(Omaha(omahaHole, omahaBoard, 0x1EC970), 0x1EC970);
}

TEST(Evaluator, MissingCardsScoreWhatIsPresent)
{
    const Card none[5] = {NoCard, NoCard, NoCard, NoCard, NoCard};
    const Card noHole[4] = {NoCard, NoCard, NoCard, NoCard};
    EXPECT_EQ(ScoreFive(none), 0);
    EXPECT_EQ(EvaluateTexas(noHole, none, NoThreshold), 0);
    EXPECT_EQ(EvaluateOmaha(noHole, none, NoThreshold), 0);

    // Two pairs of four cards: no kicker nibble. Four suited cards: no flush.
    EXPECT_EQ(Five({C(13, 0), NoCard, C(13, 1), C(4, 2), C(4, 3)}), 0x2D4000);
    EXPECT_EQ(Five({C(13, 1), C(9, 1), NoCard, C(4, 1), C(2, 1)}), 0x0D9420);
    EXPECT_EQ(Five({C(14, 0), NoCard, NoCard, NoCard, NoCard}), 0x0E0000);
    // Hole cards only, the pair of Aces: the rest of the nibbles stay 0.
    EXPECT_EQ(Texas({C(14, 0), C(14, 1)}, {NoCard, NoCard, NoCard, NoCard, NoCard}), 0x1E0000);
    // A flop with a gap in the hole: Ten to Ace needs all five present.
    EXPECT_EQ(Texas({C(14, 0), NoCard}, {C(13, 1), C(12, 2), C(11, 3), NoCard, C(10, 0)}),
              0x4E0000);
}

TEST(Evaluator, EvaluateHandFollowsTheGameVariant)
{
    // Texas reads hole slots 0 and 1 only (a pair of Aces); Omaha makes three Aces with slot 2.
    const Card hole[4] = {C(14, 1), C(9, 0), C(14, 2), C(4, 3)};
    const Card board[5] = {C(13, 1), C(12, 1), C(2, 1), C(5, 0), C(14, 3)};
    const GameVariant saved = appState.gameVariant;
    appState.gameVariant = OmahaHoldem;
    EXPECT_EQ(EvaluateHand(hole, board, NoThreshold), 0x3EDC00);
    appState.gameVariant = TexasHoldem;
    EXPECT_EQ(EvaluateHand(hole, board, NoThreshold), 0x1EDC90);
    appState.gameVariant = saved;
}
