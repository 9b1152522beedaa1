// Table-driven evaluator. A complete Texas hand costs one sum of seven card keys and one
// lookup in the rank table (or the flush table); a complete Omaha hand one lookup for the board
// and six in the board's row of the Omaha table. Only with a threshold below the maximum are
// the sets walked one by one, in their fixed order, to find the first one above it. An empty
// slot shows in the gap bits of the key sum; such hands take the plain enumeration, where
// ScoreFive scores the partial sets through the same rank table.
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

int RankBit(Card card)
{
    return 1 << evaluatorTables.cardRank[static_cast<std::size_t>(card)];
}

// The suit whose counter has its flush bit set in a key sum (the lowest one if several).
int FlushSuit(std::uint64_t flushBits)
{
    return std::countr_zero(flushBits) / 4;
}

// The score of five cards, any of them NoCard. Fewer than five cards can be no flush (no
// counter gets past 7), so only a complete set reaches the flush table.
HandScore ScoreOfSet(const Card five[5])
{
    const std::uint64_t sum = SuitCountersStart + CardKey(five[0]) + CardKey(five[1]) +
                              CardKey(five[2]) + CardKey(five[3]) + CardKey(five[4]);
    if (sum & FlushBits) {
        const int mask = RankBit(five[0]) | RankBit(five[1]) | RankBit(five[2]) | RankBit(five[3]) |
                         RankBit(five[4]);
        return evaluatorTables.flushScore[static_cast<std::size_t>(mask)];
    }
    return RankScore(sum);
}

// The threshold rule over the scores of `setCount` sets in their order: the first set score
// above `threshold`, else the maximum.
template <typename ScoreOfSetAt>
HandScore FirstAboveOrBest(int setCount, std::int32_t threshold, ScoreOfSetAt scoreOfSet)
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

// The five cards of Texas set `i` of the seven positions.
HandScore TexasSetScore(const Card seven[7], int i)
{
    const auto& set = TexasSets[static_cast<std::size_t>(i)];
    const Card five[5] = {seven[set[0]], seven[set[1]], seven[set[2]], seven[set[3]],
                          seven[set[4]]};
    return ScoreOfSet(five);
}

// The five cards of Omaha set `i` (hole pair i / 10, board triple i % 10).
HandScore OmahaSetScore(const Card hole[4], const Card board[5], int i)
{
    const int* pair = OmahaPairs[i / 10];
    const int* triple = OmahaTriples[i % 10];
    const Card five[5] = {hole[pair[0]], hole[pair[1]], board[triple[0]], board[triple[1]],
                          board[triple[2]]};
    return ScoreOfSet(five);
}

[[gnu::noinline]] HandScore OmahaWithGaps(const Card hole[4], const Card board[5],
                                          std::int32_t threshold)
{
    return FirstAboveOrBest(60, threshold, [&](int i) { return OmahaSetScore(hole, board, i); });
}

// The best flush of a complete Omaha hand whose board holds three or more cards of `suit` and
// whose hole holds two or more: the best rank mask of two suited hole and three suited board
// cards.
[[gnu::noinline]] HandScore OmahaFlush(const Card hole[4], const Card board[5], int suit)
{
    HandScore best = 0;
    for (const auto& pair : OmahaPairs) {
        const Card a = hole[pair[0]];
        const Card b = hole[pair[1]];
        if (SuitOf(a) != suit || SuitOf(b) != suit)
            continue;
        for (const auto& triple : OmahaTriples) {
            const Card x = board[triple[0]];
            const Card y = board[triple[1]];
            const Card z = board[triple[2]];
            if (SuitOf(x) == suit && SuitOf(y) == suit && SuitOf(z) == suit)
                best = std::max(
                    best, evaluatorTables.flushScore[static_cast<std::size_t>(
                              RankBit(a) | RankBit(b) | RankBit(x) | RankBit(y) | RankBit(z))]);
        }
    }
    return best;
}

// The first of the 60 sets above `threshold`, which the maximum is. A hole pair whose best set
// stays at or below it is passed over whole: its best non-flush class is in the board's row,
// and a flush needs the pair suited in the flush suit (`flushSuit`, -1 for none).
[[gnu::noinline]] HandScore OmahaFirstAbove(const Card hole[4], const Card board[5],
                                            std::int32_t threshold, std::uint32_t boardRow,
                                            const unsigned pairColumn[6], int flushSuit)
{
    const EvaluatorTables& t = evaluatorTables;
    for (int p = 0; p < 6; ++p) {
        const bool mayFlush = flushSuit >= 0 && SuitOf(hole[OmahaPairs[p][0]]) == flushSuit &&
                              SuitOf(hole[OmahaPairs[p][1]]) == flushSuit;
        if (!mayFlush && t.classScore[t.omahaBest[boardRow + pairColumn[p]]] <= threshold)
            continue;
        for (int k = 0; k < 10; ++k) {
            const HandScore s = OmahaSetScore(hole, board, p * 10 + k);
            if (s > threshold)
                return s;
        }
    }
    return -1;  // not reached: the maximum itself is one of the sets
}

}  // namespace

namespace evaluator_detail {

HandScore TexasWithGaps(const Card hole[4], const Card board[5], std::int32_t threshold)
{
    const Card seven[7] = {hole[0], hole[1], board[0], board[1], board[2], board[3], board[4]};
    return FirstAboveOrBest(21, threshold, [&](int i) { return TexasSetScore(seven, i); });
}

HandScore TexasFirstAbove(const Card hole[4], const Card board[5], std::int32_t threshold,
                          std::uint64_t keySum)
{
    if (keySum & FlushBits) {
        // A set is a flush when its five suits agree, which only five of a suit allow.
        const Card seven[7] = {hole[0],  hole[1],  board[0], board[1],
                               board[2], board[3], board[4]};
        return FirstAboveOrBest(21, threshold, [&](int i) { return TexasSetScore(seven, i); });
    }
    const std::uint64_t keys[7] = {CardKey(hole[0]),  CardKey(hole[1]),  CardKey(board[0]),
                                   CardKey(board[1]), CardKey(board[2]), CardKey(board[3]),
                                   CardKey(board[4])};
    HandScore best = -1;
    for (const auto& set : TexasSets) {
        const HandScore s =
            RankScore(keys[set[0]] + keys[set[1]] + keys[set[2]] + keys[set[3]] + keys[set[4]]);
        if (s > threshold)
            return s;
        best = std::max(best, s);
    }
    return best;  // not reached: the maximum itself is one of the sets
}

}  // namespace evaluator_detail

HandScore ScoreFive(const Card cards[5])
{
    return ScoreOfSet(cards);
}

HandScore EvaluateOmaha(const Card hole[4], const Card board[5], std::int32_t threshold)
{
    const EvaluatorTables& t = evaluatorTables;
    const std::uint64_t* key = t.cardKey.data() + 1;
    // A flush needs three board cards of one suit (at most one suit has them) and two hole
    // cards of that suit. The suit counters of the key sums tell: started at 5, a board
    // counter reaches its top bit with three cards; started at 6, a hole counter with two.
    const std::uint64_t boardSum =
        0x5555 + key[board[0]] + key[board[1]] + key[board[2]] + key[board[3]] + key[board[4]];
    const std::uint64_t holeSum =
        0x6666 + key[hole[0]] + key[hole[1]] + key[hole[2]] + key[hole[3]];
    if ((boardSum | holeSum) & GapBits) [[unlikely]]
        return OmahaWithGaps(hole, board, threshold);

    const std::uint32_t boardRow = t.omahaBoardRow[RankClass(boardSum)];
    unsigned holeRank[4];
    for (int i = 0; i < 4; ++i)
        holeRank[i] = t.cardRank[static_cast<std::size_t>(hole[i])];
    unsigned pairColumn[6];
    unsigned bestClass = 0;
    for (int p = 0; p < 6; ++p) {
        pairColumn[p] =
            t.omahaPairColumn[holeRank[OmahaPairs[p][0]] * 13 + holeRank[OmahaPairs[p][1]]];
        bestClass = std::max<unsigned>(bestClass, t.omahaBest[boardRow + pairColumn[p]]);
    }
    HandScore best = t.classScore[bestClass];

    const std::uint64_t flushBits = boardSum & holeSum & FlushBits;
    const int flushSuit = flushBits ? FlushSuit(boardSum & FlushBits) : -1;
    if (flushSuit >= 0) [[unlikely]]
        best = std::max(best, OmahaFlush(hole, board, flushSuit));
    if (best > threshold) [[unlikely]]
        return OmahaFirstAbove(hole, board, threshold, boardRow, pairColumn, flushSuit);
    return best;
}
