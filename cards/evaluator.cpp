// Table-driven evaluator. A complete Texas hand costs one sum of seven card keys and one
// lookup in the hand table (or the flush table); a complete Omaha hand one lookup for the board
// and six in the board's row of the Omaha table. Only with a threshold below the maximum are
// the sets walked one by one, in their fixed order, to find the first one above it. An empty
// slot shows in the gap bits of the key sum; such hands take the plain enumeration, where
// ScoreFive scores the partial sets through the rank table of at most five cards.
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

// The score of at most five cards from the sums of their keys (the suit counters started at
// SuitCountersStart) and of their suit-rank bits. Fewer than five cards can be no flush (no
// counter gets past 7), so only a complete set reaches the flush table.
HandScore ScoreOfSums(std::uint64_t keySum, std::uint64_t bitSum)
{
    return (keySum & FlushBits) ? FlushScore(keySum, bitSum) : RankScore(keySum);
}

// The keys and suit-rank bits of some cards, read once to score many sets of them.
template <int N> struct CardKeys {
    std::uint64_t key[N];
    std::uint64_t bit[N];

    explicit CardKeys(const Card* cards)
    {
        for (int i = 0; i < N; ++i) {
            key[i] = CardKey(cards[i]);
            bit[i] = SuitRankBit(cards[i]);
        }
    }
};

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

// The threshold rule over the 21 Texas sets, empty slots allowed.
HandScore TexasSetsInOrder(const Card hole[4], const Card board[5], std::int32_t threshold)
{
    const Card seven[7] = {hole[0], hole[1], board[0], board[1], board[2], board[3], board[4]};
    const CardKeys<7> c(seven);
    return FirstAboveOrBest(21, threshold, [&](int i) {
        const auto& set = TexasSets[static_cast<std::size_t>(i)];
        return ScoreOfSums(SuitCountersStart + c.key[set[0]] + c.key[set[1]] + c.key[set[2]] +
                               c.key[set[3]] + c.key[set[4]],
                           c.bit[set[0]] + c.bit[set[1]] + c.bit[set[2]] + c.bit[set[3]] +
                               c.bit[set[4]]);
    });
}

// The key and bit sums of Omaha set `i` (hole pair i / 10, board triple i % 10).
struct OmahaSets {
    CardKeys<4> hole;
    CardKeys<5> board;

    OmahaSets(const Card h[4], const Card b[5]) : hole(h), board(b) {}

    HandScore Score(int i) const
    {
        const int* p = OmahaPairs[i / 10];
        const int* t = OmahaTriples[i % 10];
        return ScoreOfSums(SuitCountersStart + hole.key[p[0]] + hole.key[p[1]] + board.key[t[0]] +
                               board.key[t[1]] + board.key[t[2]],
                           hole.bit[p[0]] + hole.bit[p[1]] + board.bit[t[0]] + board.bit[t[1]] +
                               board.bit[t[2]]);
    }
};

// The best flush of a complete Omaha hand whose board holds three or more cards of `suit` and
// whose hole holds two or more: the best rank mask of two suited hole and three suited board
// cards.
[[gnu::noinline]] HandScore OmahaFlush(const Card hole[4], const Card board[5], int suit)
{
    const auto inSuit = [suit](Card card) { return SuitOf(card) == suit; };
    const auto rankBit = [](Card card) {
        return 1 << evaluatorTables.cardRank[static_cast<std::size_t>(card)];
    };
    HandScore best = 0;
    for (const auto& pair : OmahaPairs) {
        const Card a = hole[pair[0]];
        const Card b = hole[pair[1]];
        if (!inSuit(a) || !inSuit(b))
            continue;
        for (const auto& triple : OmahaTriples) {
            const Card x = board[triple[0]];
            const Card y = board[triple[1]];
            const Card z = board[triple[2]];
            if (inSuit(x) && inSuit(y) && inSuit(z))
                best = std::max(
                    best, evaluatorTables.flushScore[static_cast<std::size_t>(
                              rankBit(a) | rankBit(b) | rankBit(x) | rankBit(y) | rankBit(z))]);
        }
    }
    return best;
}

// The first of the 60 sets above `threshold`, which the maximum is. Without a possible flush
// (`flushSuit` -1) the first hole pair whose best class (`pairBest`) is above the threshold
// holds it: that pair's ten sets are scored all at once and the first above is picked from a
// mask, so the walk takes no branch that depends on the cards. With a possible flush, the sets
// are scored in order, passing over the pairs that are neither suited in the flush suit nor
// have a best class above the threshold.
[[gnu::noinline]] HandScore OmahaFirstAbove(const Card hole[4], const Card board[5],
                                            std::int32_t threshold, const unsigned pairBest[6],
                                            int flushSuit)
{
    const auto classAbove = [&](int p) {
        return evaluatorTables.classScore[pairBest[p]] > threshold;
    };
    if (flushSuit >= 0) {
        const OmahaSets sets(hole, board);
        for (int p = 0; p < 6; ++p) {
            if (!classAbove(p) && (SuitOf(hole[OmahaPairs[p][0]]) != flushSuit ||
                                   SuitOf(hole[OmahaPairs[p][1]]) != flushSuit))
                continue;
            for (int k = 0; k < 10; ++k) {
                const HandScore s = sets.Score(p * 10 + k);
                if (s > threshold)
                    return s;
            }
        }
        return -1;  // not reached: the maximum itself is one of the sets
    }
    unsigned pairs = 0;
    for (int p = 0; p < 6; ++p)
        pairs |= static_cast<unsigned>(classAbove(p)) << p;
    const int* pair = OmahaPairs[std::countr_zero(pairs)];
    const std::uint64_t pairKey =
        SuitCountersStart + CardKey(hole[pair[0]]) + CardKey(hole[pair[1]]);
    const CardKeys<5> b(board);
    HandScore score[10];
    unsigned above = 0;
    for (int k = 0; k < 10; ++k) {
        const int* t = OmahaTriples[k];
        score[k] = RankScore(pairKey + b.key[t[0]] + b.key[t[1]] + b.key[t[2]]);
        above |= static_cast<unsigned>(score[k] > threshold) << k;
    }
    if (above != 0)
        return score[std::countr_zero(above)];
    return -1;  // not reached: the maximum itself is one of the sets
}

}  // namespace

namespace evaluator_detail {

HandScore TexasWithGaps(const Card hole[4], const Card board[5], std::int32_t threshold)
{
    return TexasSetsInOrder(hole, board, threshold);
}

HandScore TexasFirstAbove(const Card hole[4], const Card board[5], std::int32_t threshold,
                          std::uint64_t keySum)
{
    if (keySum & FlushBits)
        return TexasSetsInOrder(hole, board, threshold);
    // No set can be a flush: rank sums alone.
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
    const CardKeys<5> c(cards);
    return ScoreOfSums(SuitCountersStart + c.key[0] + c.key[1] + c.key[2] + c.key[3] + c.key[4],
                       c.bit[0] + c.bit[1] + c.bit[2] + c.bit[3] + c.bit[4]);
}

HandScore EvaluateOmaha(const Card hole[4], const Card board[5], std::int32_t threshold)
{
    const EvaluatorTables& t = evaluatorTables;
    const std::uint64_t* key = t.cardKey.data() + 1;
    // A flush needs three board cards of one suit (at most one suit has them) and two hole
    // cards of that suit. The suit counters of the key sums tell: started at 5, a board
    // counter reaches its top bit with three cards; started at 6, a hole counter with two.
    const std::uint64_t boardSum = SuitCounters(0x5555) + key[board[0]] + key[board[1]] +
                                   key[board[2]] + key[board[3]] + key[board[4]];
    const std::uint64_t holeSum =
        SuitCounters(0x6666) + key[hole[0]] + key[hole[1]] + key[hole[2]] + key[hole[3]];
    if ((boardSum | holeSum) & GapBits) [[unlikely]] {
        const OmahaSets sets(hole, board);
        return FirstAboveOrBest(60, threshold, [&](int i) { return sets.Score(i); });
    }

    const std::uint32_t boardRow = t.omahaBoard[RankSlot(boardSum)] * OmahaRowStride;
    unsigned holeRank[4];
    for (int i = 0; i < 4; ++i)
        holeRank[i] = t.cardRank[static_cast<std::size_t>(hole[i])];
    unsigned pairBest[6];  // the best non-flush class of each hole pair
    unsigned bestClass = 0;
    for (int p = 0; p < 6; ++p) {
        pairBest[p] = t.omahaBest[boardRow + t.omahaPairColumn[holeRank[OmahaPairs[p][0]] * 13 +
                                                               holeRank[OmahaPairs[p][1]]]];
        bestClass = std::max(bestClass, pairBest[p]);
    }
    HandScore best = t.classScore[bestClass];

    const std::uint64_t flushBits = boardSum & holeSum & FlushBits;
    const int flushSuit = flushBits ? (std::countr_zero(flushBits) - SuitCounterShift) / 4 : -1;
    if (flushSuit >= 0) [[unlikely]]
        best = std::max(best, OmahaFlush(hole, board, flushSuit));
    if (best <= threshold)
        return best;

    return OmahaFirstAbove(hole, board, threshold, pairBest, flushSuit);
}
