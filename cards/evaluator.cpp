// Table-driven evaluator. A complete Texas hand costs one sum of seven card keys and one
// lookup (rank hash or flush table); a complete Omaha hand 60 lookups in a dense table. Only
// with a threshold below the maximum are the sets walked one by one, in their fixed order, to
// find the first one above it. Hands with an empty slot take the plain enumeration, where
// ScoreFive scores the partial sets through the same rank hash.
#include "cards/evaluator.h"

#include "cards/evaluator_tables.h"

#include <algorithm>
#include <array>
#include <bit>

namespace {

// The 21 five-card sets of the seven Texas positions (hole 0, hole 1, board 0..4), in
// lexicographic order of positions.
constexpr std::array<std::array<int, 5>, 21> TexasSets = [] {
    std::array<std::array<int, 5>, 21> sets{};
    int n = 0;
    for (int a = 0; a < 3; ++a)
        for (int b = a + 1; b < 4; ++b)
            for (int c = b + 1; c < 5; ++c)
                for (int d = c + 1; d < 6; ++d)
                    for (int e = d + 1; e < 7; ++e)
                        sets[static_cast<std::size_t>(n++)] = {a, b, c, d, e};
    return sets;
}();

// Omaha hole pairs and board triples, each in the enumeration's order.
constexpr int OmahaPairs[6][2] = {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}};
constexpr int OmahaTriples[10][3] = {{0, 1, 2}, {0, 1, 3}, {0, 1, 4}, {0, 2, 3}, {0, 2, 4},
                                     {0, 3, 4}, {1, 2, 3}, {1, 2, 4}, {1, 3, 4}, {2, 3, 4}};

std::uint64_t KeyOf(Card card)
{
    return evaluatorTables.cardKey[static_cast<std::size_t>(card)];
}

int RankBit(Card card)
{
    return 1 << RankOf(card);
}

// The suit whose counter has its flush bit set in a key sum (the lowest one if several).
int FlushSuit(std::uint64_t flushBits)
{
    return (std::countr_zero(flushBits) - SuitShift - 3) / 4;
}

// The threshold rule over scores already known to be complete-set scores: the first set score
// above `threshold`, else the maximum. Used by the slow paths with empty slots.
template <typename ScoreOfSet>
HandScore FirstAboveOrBest(int setCount, std::int32_t threshold, ScoreOfSet scoreOfSet)
{
    HandScore best = -1;
    for (int i = 0; i < setCount; ++i) {
        const HandScore s = scoreOfSet(i);
        if (s > best) {
            if (s > threshold)
                return s;
            best = s;
        }
    }
    return best;
}

// Texas with at least one empty slot: every set through ScoreFive, which skips the empties.
[[gnu::noinline]] HandScore EvaluateTexasWithGaps(const Card seven[7], std::int32_t threshold)
{
    return FirstAboveOrBest(21, threshold, [&](int i) {
        const auto& set = TexasSets[static_cast<std::size_t>(i)];
        const Card five[5] = {seven[set[0]], seven[set[1]], seven[set[2]], seven[set[3]],
                              seven[set[4]]};
        return ScoreFive(five);
    });
}

[[gnu::noinline]] HandScore EvaluateOmahaWithGaps(const Card hole[4], const Card board[5],
                                                  std::int32_t threshold)
{
    return FirstAboveOrBest(60, threshold, [&](int i) {
        const int* pair = OmahaPairs[i / 10];
        const int* triple = OmahaTriples[i % 10];
        const Card five[5] = {hole[pair[0]], hole[pair[1]], board[triple[0]], board[triple[1]],
                              board[triple[2]]};
        return ScoreFive(five);
    });
}

}  // namespace

HandScore ScoreFive(const Card cards[5])
{
    if ((cards[0] | cards[1] | cards[2] | cards[3] | cards[4]) < 0) {
        // Fewer than five cards can be no flush; their rank sum alone names the partial score.
        std::uint64_t sum = 0;
        for (int i = 0; i < 5; ++i)
            if (cards[i] != NoCard)
                sum += KeyOf(cards[i]);
        return RankScore(sum);
    }
    const std::uint64_t sum = SuitCountersStart + KeyOf(cards[0]) + KeyOf(cards[1]) +
                              KeyOf(cards[2]) + KeyOf(cards[3]) + KeyOf(cards[4]);
    if (sum & FlushBits) {
        const int mask = RankBit(cards[0]) | RankBit(cards[1]) | RankBit(cards[2]) |
                         RankBit(cards[3]) | RankBit(cards[4]);
        return evaluatorTables.flushScore[static_cast<std::size_t>(mask)];
    }
    return RankScore(sum);
}

namespace {

// The best flush of a complete Texas hand with five or more cards of one suit. Seven such
// cards hold no full house or four of a kind, so this is the hand's maximum.
[[gnu::noinline]] HandScore TexasFlush(const Card seven[7], std::uint64_t flushBits)
{
    const int suit = FlushSuit(flushBits);
    int mask = 0;
    for (int i = 0; i < 7; ++i)
        if (SuitOf(seven[i]) == suit)
            mask |= RankBit(seven[i]);
    return evaluatorTables.flushScore[static_cast<std::size_t>(mask)];
}

// The first set of a complete Texas hand scoring above `threshold`; the caller knows the
// maximum `best` does. Each set's own score comes from its five keys (a flush when its five
// suits agree, only possible when the seven cards hold five of a suit).
[[gnu::noinline]] HandScore TexasFirstAbove(const Card seven[7], bool anyFlush,
                                            std::int32_t threshold, HandScore best)
{
    std::uint64_t keys[7];
    for (int i = 0; i < 7; ++i)
        keys[i] = KeyOf(seven[i]);
    if (!anyFlush) {
        for (const auto& set : TexasSets) {
            const HandScore s =
                RankScore(keys[set[0]] + keys[set[1]] + keys[set[2]] + keys[set[3]] + keys[set[4]]);
            if (s > threshold)
                return s;
        }
        return best;  // not reached: the maximum itself is one of the sets
    }
    for (const auto& set : TexasSets) {
        const std::uint64_t setSum = SuitCountersStart + keys[set[0]] + keys[set[1]] +
                                     keys[set[2]] + keys[set[3]] + keys[set[4]];
        HandScore s;
        if (setSum & FlushBits) {
            const int mask = RankBit(seven[set[0]]) | RankBit(seven[set[1]]) |
                             RankBit(seven[set[2]]) | RankBit(seven[set[3]]) |
                             RankBit(seven[set[4]]);
            s = evaluatorTables.flushScore[static_cast<std::size_t>(mask)];
        } else {
            s = RankScore(setSum);
        }
        if (s > threshold)
            return s;
    }
    return best;
}

}  // namespace

HandScore EvaluateTexas(const Card hole[4], const Card board[5], std::int32_t threshold)
{
    const Card seven[7] = {hole[0], hole[1], board[0], board[1], board[2], board[3], board[4]};
    if ((seven[0] | seven[1] | seven[2] | seven[3] | seven[4] | seven[5] | seven[6]) < 0)
        [[unlikely]]
        return EvaluateTexasWithGaps(seven, threshold);

    // Summed as a tree so the additions do not wait on each other.
    const std::uint64_t* key = evaluatorTables.cardKey.data();
    const std::uint64_t sum = (SuitCountersStart + key[seven[0]] + key[seven[1]]) +
                              (key[seven[2]] + key[seven[3]]) +
                              (key[seven[4]] + key[seven[5]] + key[seven[6]]);
    const std::uint64_t flushBits = sum & FlushBits;
    const HandScore best = flushBits ? TexasFlush(seven, flushBits) : RankScore(sum);
    if (best <= threshold)
        return best;
    return TexasFirstAbove(seven, flushBits != 0, threshold, best);
}

HandScore EvaluateOmaha(const Card hole[4], const Card board[5], std::int32_t threshold)
{
    if ((hole[0] | hole[1] | hole[2] | hole[3] | board[0] | board[1] | board[2] | board[3] |
         board[4]) < 0)
        return EvaluateOmahaWithGaps(hole, board, threshold);

    const EvaluatorTables& t = evaluatorTables;
    int holeRank[4];
    for (int i = 0; i < 4; ++i)
        holeRank[i] = RankOf(hole[i]);
    int boardRank[5];
    for (int i = 0; i < 5; ++i)
        boardRank[i] = RankOf(board[i]);
    std::size_t pairColumn[6];
    for (int p = 0; p < 6; ++p)
        pairColumn[p] = t.omahaPairColumn[static_cast<std::size_t>(holeRank[OmahaPairs[p][0]] * 13 +
                                                                   holeRank[OmahaPairs[p][1]])];
    std::size_t tripleRow[10];
    for (int k = 0; k < 10; ++k)
        tripleRow[k] = static_cast<std::size_t>(t.omahaTripleRow[static_cast<std::size_t>(
            boardRank[OmahaTriples[k][0]] * 169 + boardRank[OmahaTriples[k][1]] * 13 +
            boardRank[OmahaTriples[k][2]])]);

    // One running maximum per hole pair: six independent chains instead of one of 60.
    unsigned pairBest[6] = {};
    for (int k = 0; k < 10; ++k)
        for (int p = 0; p < 6; ++p)
            pairBest[p] =
                std::max<unsigned>(pairBest[p], t.omahaClass[tripleRow[k] + pairColumn[p]]);
    const unsigned bestClass =
        std::max({pairBest[0], pairBest[1], pairBest[2], pairBest[3], pairBest[4], pairBest[5]});
    HandScore best = t.omahaClassScore[static_cast<std::size_t>(bestClass)];

    // A flush needs three board cards of one suit (at most one suit has them) and two hole
    // cards of that suit. The suit counters of the key sums tell: started at 5, a board
    // counter reaches its top bit with three cards; started at 6, a hole counter with two.
    const std::uint64_t* key = t.cardKey.data();
    const std::uint64_t boardThree = ((0x5555ull << SuitShift) + key[board[0]] + key[board[1]] +
                                      key[board[2]] + key[board[3]] + key[board[4]]) &
                                     FlushBits;
    const std::uint64_t holeTwo =
        ((0x6666ull << SuitShift) + key[hole[0]] + key[hole[1]] + key[hole[2]] + key[hole[3]]) &
        FlushBits;
    const int flushSuit = (boardThree & holeTwo) ? FlushSuit(boardThree) : -1;
    int holeSuit[4];
    for (int i = 0; i < 4; ++i)
        holeSuit[i] = SuitOf(hole[i]);
    int boardSuit[5];
    for (int i = 0; i < 5; ++i)
        boardSuit[i] = SuitOf(board[i]);
    if (flushSuit >= 0) {
        for (const auto& pair : OmahaPairs) {
            if (holeSuit[pair[0]] != flushSuit || holeSuit[pair[1]] != flushSuit)
                continue;
            const int pairMask = RankBit(hole[pair[0]]) | RankBit(hole[pair[1]]);
            for (const auto& triple : OmahaTriples) {
                if (boardSuit[triple[0]] == flushSuit && boardSuit[triple[1]] == flushSuit &&
                    boardSuit[triple[2]] == flushSuit)
                    best =
                        std::max(best, t.flushScore[static_cast<std::size_t>(
                                           pairMask | RankBit(board[triple[0]]) |
                                           RankBit(board[triple[1]]) | RankBit(board[triple[2]]))]);
            }
        }
    }
    if (best <= threshold)
        return best;

    // Walk the 60 sets in order for the first one above the threshold.
    for (int p = 0; p < 6; ++p) {
        const Card a = hole[OmahaPairs[p][0]];
        const Card b = hole[OmahaPairs[p][1]];
        const bool pairSuited =
            holeSuit[OmahaPairs[p][0]] == flushSuit && holeSuit[OmahaPairs[p][1]] == flushSuit;
        for (int k = 0; k < 10; ++k) {
            const int* triple = OmahaTriples[k];
            HandScore s;
            if (pairSuited && boardSuit[triple[0]] == flushSuit &&
                boardSuit[triple[1]] == flushSuit && boardSuit[triple[2]] == flushSuit)
                s = t.flushScore[static_cast<std::size_t>(
                    RankBit(a) | RankBit(b) | RankBit(board[triple[0]]) |
                    RankBit(board[triple[1]]) | RankBit(board[triple[2]]))];
            else
                s = t.omahaClassScore[t.omahaClass[static_cast<std::size_t>(tripleRow[k] +
                                                                            pairColumn[p])]];
            if (s > threshold)
                return s;
        }
    }
    return best;  // not reached: the maximum itself is one of the sets
}
