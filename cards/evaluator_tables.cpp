// Builds the evaluator's tables once, before main: the 57760 rank multisets of seven cards or of
// at most five are scored (those of seven through their five-card parts) and packed, seven into
// the hand table and at most five into the rank table, whose lookups then fill the Omaha table
// (6175 boards x 91 hole pairs x 10 triples).
#include "cards/evaluator_tables.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <vector>

EvaluatorTables evaluatorTables;

namespace {

// Appends the values of the ranks with count 1 from nibble `shift` downward, Ace first, then
// King down to Two. Missing kickers leave the lower nibbles 0.
int AddKickers(const int counts[13], int score, int shift)
{
    if (counts[0] == 1 && shift >= 0) {
        score += 14 << shift;
        shift -= 4;
    }
    for (int r = 12; r >= 1 && shift >= 0; --r) {
        if (counts[r] == 1) {
            score += (r + 1) << shift;
            shift -= 4;
        }
    }
    return score;
}

// The value of the first rank, Ace first, whose count is 1; 0 when there is none.
int FirstSingle(const int counts[13])
{
    for (int r = 0; r < 13; ++r)
        if (counts[r] == 1)
            return RankValue(r);
    return 0;
}

// Top card of the straight that five distinct ranks make (5 for Ace to Five, 14 for Ten to
// Ace), or 0.
int StraightTop(const int counts[13])
{
    if (counts[0] == 1 && counts[9] == 1 && counts[10] == 1 && counts[11] == 1 && counts[12] == 1)
        return 14;
    for (int low = 0; low + 4 < 13; ++low) {
        bool run = true;
        for (int r = low; r < low + 5; ++r)
            run = run && counts[r] == 1;
        if (run)
            return RankValue(low + 4);
    }
    return 0;
}

// Non-flush score of at most five cards given as counts per rank index.
HandScore ScoreUpToFive(const int counts[13])
{
    int present = 0;
    int largest = 0;
    int largestRank = -1;
    for (int r = 0; r < 13; ++r) {
        present += counts[r];
        if (counts[r] > largest) {
            largest = counts[r];
            largestRank = r;
        }
    }
    if (present == 0)
        return 0;
    const int top = RankValue(largestRank);
    if (largest == 4)
        return CategoryScore(FourOfAKind) + (top << 16) + (FirstSingle(counts) << 12);
    if (present == 5 && largest == 1) {
        const int straight = StraightTop(counts);
        if (straight != 0)
            return CategoryScore(Straight) + (straight << 16);
    }
    if (largest == 3) {
        for (int r = 0; r < 13; ++r)
            if (counts[r] == 2)
                return CategoryScore(FullHouse) + (top << 16) + (RankValue(r) << 12);
        return AddKickers(counts, CategoryScore(ThreeOfAKind) + (top << 16), 12);
    }
    if (largest == 2) {
        // Two pairs: the scan above kept the lower rank index; order the pair values.
        for (int r = largestRank + 1; r < 13; ++r) {
            if (counts[r] == 2) {
                const int other = RankValue(r);
                const int high = std::max(top, other);
                const int low = std::min(top, other);
                return CategoryScore(TwoPairs) + (high << 16) + (low << 12) +
                       (FirstSingle(counts) << 8);
            }
        }
        return AddKickers(counts, CategoryScore(OnePair) + (top << 16), 12);
    }
    return AddKickers(counts, 0, 16);
}

// Best of the five-card parts of `counts` (more than five cards): takes `left` more cards from
// rank `from` upward into `part`.
HandScore BestPart(const int counts[13], int part[13], int from, int left)
{
    if (left == 0)
        return ScoreUpToFive(part);
    HandScore best = 0;
    for (int r = from; r < 13; ++r) {
        if (part[r] < counts[r]) {
            ++part[r];
            best = std::max(best, BestPart(counts, part, r, left - 1));
            --part[r];
        }
    }
    return best;
}

// Best Flush, Straight Flush or Royal Flush within a suit's rank mask of five or more ranks.
HandScore ScoreFlushMask(int mask)
{
    int counts[13] = {};
    for (int r = 0; r < 13; ++r)
        counts[r] = (mask >> r) & 1;
    if (counts[0] && counts[9] && counts[10] && counts[11] && counts[12])
        return CategoryScore(RoyalFlush);
    for (int low = 12 - 4; low >= 0; --low) {
        if (((mask >> low) & 0x1F) == 0x1F)
            return CategoryScore(StraightFlush) + (RankValue(low + 4) << 16);
    }
    // No straight: the five highest ranks, Ace first.
    int score = CategoryScore(Flush);
    int shift = 16;
    if (counts[0]) {
        score += 14 << shift;
        shift -= 4;
    }
    for (int r = 12; r >= 1 && shift >= 0; --r) {
        if (counts[r]) {
            score += (r + 1) << shift;
            shift -= 4;
        }
    }
    return score;
}

struct RankEntry {
    std::uint32_t sum;     // additive rank sum
    std::uint32_t column;  // the sum of the column keys; while packing, the entry's column
    HandScore score;
    int cards;
};

// Every rank multiset with at most four of a rank and seven or at most five cards, with its
// score (no table holds those of six).
void CollectMultisets(int counts[13], int rank, int cards, std::uint32_t sum, std::uint32_t column,
                      std::vector<RankEntry>& out)
{
    if (rank == 13) {
        if (cards != 6)
            out.push_back({sum, column, ScoreRankCounts(counts), cards});
        return;
    }
    for (int c = 0; c <= 4 && cards + c <= 7; ++c) {
        counts[rank] = c;
        CollectMultisets(counts, rank + 1, cards + c, sum + RankKeys[rank] * c,
                         column + ColumnKey(rank) * static_cast<std::uint32_t>(c), out);
    }
    counts[rank] = 0;
}

// Fills a row-displacement table with the scores of `entries`: rows of the rank field, largest
// first, each at the first start where all its columns land on free slots. In the hand table
// (`Hands`) a column is the column sum, slots are taken modulo the table's 2^16 and a row's
// offset is its start; in the rank table a column is the field's low bits and a row's offset
// is its start minus its field's, so that the whole field is added.
template <bool Hands, typename RowT, std::size_t SlotCount>
void PackRows(const std::vector<RankEntry>& entries, std::array<RowT, RankRowCount>& rowOf,
              std::array<HandScore, SlotCount>& scoreOf)
{
    static_assert(!Hands || SlotCount == 1u << 16);
    constexpr std::uint32_t columnMask = (1u << RankColumnBits) - 1;
    std::vector<std::vector<RankEntry>> rows(RankRowCount);
    for (RankEntry e : entries) {
        const auto field = static_cast<std::uint32_t>(RankField(e.sum) >> RankFieldShift);
        if (!Hands)
            e.column = field & columnMask;
        rows[field >> RankColumnBits].push_back(e);
    }
    std::vector<int> order(RankRowCount);
    for (int r = 0; r < RankRowCount; ++r)
        order[static_cast<std::size_t>(r)] = r;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return rows[static_cast<std::size_t>(a)].size() > rows[static_cast<std::size_t>(b)].size();
    });

    // One bit per slot, set while free; bit i of FreeFrom(s) tells whether slot s + i is free,
    // so 64 starts of a row are tried at once with one word per column. The hand table's words
    // wrap around.
    std::vector<std::uint64_t> free(SlotCount / 64 + (Hands ? 0 : 2), ~0ull);
    const auto freeFrom = [&](std::uint32_t slot) {
        const std::size_t word = slot / 64 % free.size();
        const unsigned bit = slot % 64;
        return bit == 0 ? free[word]
                        : (free[word] >> bit) | (free[(word + 1) % free.size()] << (64 - bit));
    };
    const auto slotOf = [](std::uint32_t start, std::uint32_t column) {
        return Hands ? (start + column) % SlotCount : start + column;
    };
    std::uint32_t lowestFree = 0;
    // Every row starts at slot 0 until placed, so that a row no multiset reaches (a key sum of
    // no real hand, such as five of a rank) still gives a slot inside the table.
    for (std::uint32_t r = 0; r < RankRowCount; ++r)
        rowOf[r] = static_cast<RowT>(Hands ? 0u : 0u - (r << RankColumnBits));
    scoreOf.fill(0);
    for (int r : order) {
        std::vector<RankEntry>& row = rows[static_cast<std::size_t>(r)];
        if (row.empty())
            break;  // the rows left are empty and keep start 0
        std::uint32_t lowestColumn = ~0u;
        for (const RankEntry& e : row)
            lowestColumn = std::min(lowestColumn, e.column);
        std::uint32_t start = lowestFree > lowestColumn ? lowestFree - lowestColumn : 0;
        for (std::uint32_t tried = 0;; start += 64, tried += 64) {
            if ((Hands ? tried : start + columnMask) >= SlotCount)
                std::abort();  // the table is too small for this row
            std::uint64_t fits = ~0ull;
            for (const RankEntry& e : row)
                fits &= freeFrom(slotOf(start, e.column));
            if (fits != 0) {
                start += static_cast<std::uint32_t>(std::countr_zero(fits));
                if (!Hands && start + columnMask >= SlotCount)
                    std::abort();
                break;
            }
        }
        for (const RankEntry& e : row) {
            const std::uint32_t slot = slotOf(start, e.column);
            free[slot / 64] &= ~(1ull << (slot % 64));
            scoreOf[slot] = e.score;
        }
        while (lowestFree < SlotCount && !(free[lowestFree / 64] >> (lowestFree % 64) & 1))
            ++lowestFree;
        rowOf[static_cast<std::size_t>(r)] = static_cast<RowT>(
            Hands ? start % SlotCount : start - (static_cast<std::uint32_t>(r) << RankColumnBits));
    }
}

// Numbers the distinct scores in rising order, fills the hand table (seven cards) and the rank
// table (at most five), and returns the class of each slot of the rank table.
std::vector<std::uint16_t> BuildRankTables(EvaluatorTables& t)
{
    int counts[13] = {};
    std::vector<RankEntry> entries;
    CollectMultisets(counts, 0, 0, 0, 0, entries);

    std::vector<HandScore> scores{0};
    std::vector<RankEntry> hands;
    std::vector<RankEntry> parts;
    for (const RankEntry& e : entries) {
        scores.push_back(e.score);
        (e.cards == 7 ? hands : parts).push_back(e);
    }
    std::sort(scores.begin(), scores.end());
    scores.erase(std::unique(scores.begin(), scores.end()), scores.end());
    if (scores.size() != t.classScore.size())
        std::abort();
    std::copy(scores.begin(), scores.end(), t.classScore.begin());

    PackRows<true>(hands, t.handRow, t.handScore);
    PackRows<false>(parts, t.rankRow, t.rankScore);
    std::vector<std::uint16_t> classOfSlot(RankSlotCount);
    for (std::size_t slot = 0; slot < classOfSlot.size(); ++slot)
        classOfSlot[slot] = static_cast<std::uint16_t>(
            std::lower_bound(scores.begin(), scores.end(), t.rankScore[slot]) - scores.begin());
    return classOfSlot;
}

// Fills the row of omahaBest that starts at `row` for the board ranks `board`: per hole pair
// class, the best class of the pair with three of the board. A triple of one rank with a pair
// of that rank would be five of a rank and counts for nothing (no deal holds it).
void FillOmahaRow(EvaluatorTables& t, const std::vector<std::uint16_t>& classOfSlot,
                  const int board[5], std::uint32_t row, const int pairRanks[OmahaPairClasses][2])
{
    std::uint32_t tripleSum[10];
    int tripleOfOneRank[10];  // the rank of a triple of one rank, else -1
    int n = 0;
    for (int i = 0; i < 3; ++i)
        for (int j = i + 1; j < 4; ++j)
            for (int k = j + 1; k < 5; ++k, ++n) {
                tripleSum[n] = RankKeys[static_cast<std::size_t>(board[i])] +
                               RankKeys[static_cast<std::size_t>(board[j])] +
                               RankKeys[static_cast<std::size_t>(board[k])];
                tripleOfOneRank[n] = board[i] == board[k] ? board[i] : -1;
            }
    for (int pc = 0; pc < OmahaPairClasses; ++pc) {
        const int a = pairRanks[pc][0];
        const int b = pairRanks[pc][1];
        const std::uint32_t pairSum =
            RankKeys[static_cast<std::size_t>(a)] + RankKeys[static_cast<std::size_t>(b)];
        unsigned best = 0;
        for (int k = 0; k < 10; ++k)
            if (a != b || tripleOfOneRank[k] != a)
                best = std::max<unsigned>(best,
                                          classOfSlot[RankSlot(RankField(tripleSum[k] + pairSum))]);
        t.omahaBest[row + static_cast<std::uint32_t>(pc)] = static_cast<std::uint16_t>(best);
    }
}

// Every board rank multiset (five cards, at most four of a rank) gets a row of omahaBest,
// found through its class; the row holds per hole pair the best class over its ten triples.
void BuildOmahaTables(EvaluatorTables& t, const std::vector<std::uint16_t>& classOfSlot)
{
    int pairClass = 0;
    int pairRanks[OmahaPairClasses][2] = {};
    for (int a = 0; a < 13; ++a)
        for (int b = a; b < 13; ++b) {
            t.omahaPairColumn[static_cast<std::size_t>(a * 13 + b)] =
                static_cast<std::uint8_t>(pairClass);
            t.omahaPairColumn[static_cast<std::size_t>(b * 13 + a)] =
                static_cast<std::uint8_t>(pairClass);
            pairRanks[pairClass][0] = a;
            pairRanks[pairClass][1] = b;
            ++pairClass;
        }

    t.omahaBoard.fill(0);
    std::uint16_t boardRows = 0;
    int board[5];
    for (board[0] = 0; board[0] < 13; ++board[0])
        for (board[1] = board[0]; board[1] < 13; ++board[1])
            for (board[2] = board[1]; board[2] < 13; ++board[2])
                for (board[3] = board[2]; board[3] < 13; ++board[3])
                    for (board[4] = board[3]; board[4] < 13; ++board[4]) {
                        if (board[0] == board[4])
                            continue;  // five of a rank (the ranks rise)
                        std::uint32_t sum = 0;
                        for (int r : board)
                            sum += RankKeys[static_cast<std::size_t>(r)];
                        if (boardRows == OmahaBoardRows)
                            std::abort();
                        t.omahaBoard[RankSlot(RankField(sum))] = boardRows;
                        FillOmahaRow(t, classOfSlot, board, boardRows++ * OmahaRowStride,
                                     pairRanks);
                    }
    if (boardRows != OmahaBoardRows)
        std::abort();
}

void BuildTables(EvaluatorTables& t)
{
    t.cardKey[0] = NoCardKey;
    t.suitRankBit[0] = 0;
    for (Card card = 0; card < CardCount; ++card) {
        t.cardKey[static_cast<std::size_t>(card + 1)] =
            RankField(RankKeys[static_cast<std::size_t>(RankOf(card))]) + ColumnKey(RankOf(card)) +
            SuitCounters(1ull << (4 * SuitOf(card)));
        t.cardRank[static_cast<std::size_t>(card)] = static_cast<std::uint8_t>(RankOf(card));
        t.suitRankBit[static_cast<std::size_t>(card + 1)] = 1ull
                                                            << (16 * SuitOf(card) + RankOf(card));
    }
    for (std::size_t i = 0; i < HandKeyCount; ++i) {
        t.handKey[i] = t.cardKey[i] + (i == 0 ? GapInCounters : 0);
        t.handKey[HandKeyCount + i] = t.handKey[i] + SuitCountersStart;
    }
    t.flushScore.fill(0);
    for (int mask = 0; mask < 8192; ++mask)
        if (std::popcount(static_cast<unsigned>(mask)) >= 5)
            t.flushScore[static_cast<std::size_t>(mask)] = ScoreFlushMask(mask);
    BuildOmahaTables(t, BuildRankTables(t));
}

[[maybe_unused]] const bool tablesBuilt = (BuildTables(evaluatorTables), true);

}  // namespace

HandScore ScoreRankCounts(const int counts[13])
{
    int present = 0;
    for (int r = 0; r < 13; ++r)
        present += counts[r];
    if (present <= 5)
        return ScoreUpToFive(counts);
    int part[13] = {};
    return BestPart(counts, part, 0, 5);
}
