// Builds the evaluator's tables once, before main. Building takes a few milliseconds: 76155
// rank multisets are scored (the larger ones through their five-card parts) and placed in the
// perfect hash.
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
    std::uint32_t sum;
    HandScore score;
};

// Every rank multiset with at most four of a rank and seven in all, with its score.
void CollectMultisets(int counts[13], int rank, int cards, std::uint32_t sum,
                      std::vector<RankEntry>& out)
{
    if (rank == 13) {
        out.push_back({sum, ScoreRankCounts(counts)});
        return;
    }
    for (int c = 0; c <= 4 && cards + c <= 7; ++c) {
        counts[rank] = c;
        CollectMultisets(counts, rank + 1, cards + c, sum + RankKeys[rank] * c, out);
    }
    counts[rank] = 0;
}

// Places every bucket of the rank hash, largest first, at the first displacement where all its
// keys land on free slots. Aborts if some bucket cannot be placed, which the fixed multiplier
// rules out (the tests check every multiset).
void BuildRankHash(EvaluatorTables& t)
{
    int counts[13] = {};
    std::vector<RankEntry> entries;
    CollectMultisets(counts, 0, 0, 0, entries);

    constexpr std::uint32_t slotCount = 1u << RankSlotBits;
    constexpr std::uint32_t bucketCount = 1u << RankBucketBits;
    std::vector<std::vector<RankEntry>> buckets(bucketCount);
    for (const RankEntry& e : entries) {
        const std::uint64_t hash = e.sum * RankHashMultiplier;
        buckets[hash >> (64 - RankBucketBits)].push_back(e);
    }
    std::vector<std::uint32_t> order(bucketCount);
    for (std::uint32_t b = 0; b < bucketCount; ++b)
        order[b] = b;
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return buckets[a].size() > buckets[b].size();
    });

    std::vector<char> taken(slotCount, 0);
    t.displacement.fill(0);
    t.rankScore.fill(0);
    for (std::uint32_t b : order) {
        const std::vector<RankEntry>& bucket = buckets[b];
        if (bucket.empty())
            break;
        bool placed = false;
        for (std::uint32_t d = 0; d < slotCount && !placed; ++d) {
            std::size_t done = 0;
            for (; done < bucket.size(); ++done) {
                const std::uint32_t home =
                    static_cast<std::uint32_t>((bucket[done].sum * RankHashMultiplier) >> 32);
                const std::uint32_t slot = (home + d) & (slotCount - 1);
                if (taken[slot])
                    break;
                taken[slot] = 1;
            }
            placed = done == bucket.size();
            for (std::size_t i = 0; i < done; ++i) {
                const std::uint32_t home =
                    static_cast<std::uint32_t>((bucket[i].sum * RankHashMultiplier) >> 32);
                const std::uint32_t slot = (home + d) & (slotCount - 1);
                if (placed)
                    t.rankScore[slot] = bucket[i].score;
                else
                    taken[slot] = 0;
            }
            if (placed)
                t.displacement[b] = d;
        }
        if (!placed)
            std::abort();
    }
}

void BuildOmahaTables(EvaluatorTables& t)
{
    int pairClass = 0;
    int pairRanks[OmahaPairClasses][2] = {};
    for (int a = 0; a < 13; ++a)
        for (int b = a; b < 13; ++b) {
            t.omahaPairColumn[static_cast<std::size_t>(a * 13 + b)] =
                static_cast<std::uint16_t>(pairClass);
            t.omahaPairColumn[static_cast<std::size_t>(b * 13 + a)] =
                static_cast<std::uint16_t>(pairClass);
            pairRanks[pairClass][0] = a;
            pairRanks[pairClass][1] = b;
            ++pairClass;
        }
    int tripleClass = 0;
    int tripleRanks[OmahaTripleClasses][3] = {};
    for (int a = 0; a < 13; ++a)
        for (int b = a; b < 13; ++b)
            for (int c = b; c < 13; ++c) {
                const int perms[6][3] = {{a, b, c}, {a, c, b}, {b, a, c},
                                         {b, c, a}, {c, a, b}, {c, b, a}};
                for (const auto& p : perms)
                    t.omahaTripleRow[static_cast<std::size_t>(p[0] * 169 + p[1] * 13 + p[2])] =
                        tripleClass * OmahaPairClasses;
                tripleRanks[tripleClass][0] = a;
                tripleRanks[tripleClass][1] = b;
                tripleRanks[tripleClass][2] = c;
                ++tripleClass;
            }

    std::vector<HandScore> scores(t.omahaClass.size());
    for (int tc = 0; tc < OmahaTripleClasses; ++tc)
        for (int pc = 0; pc < OmahaPairClasses; ++pc) {
            int counts[13] = {};
            for (int r : pairRanks[pc])
                ++counts[r];
            for (int r : tripleRanks[tc])
                ++counts[r];
            const bool possible = *std::max_element(counts, counts + 13) <= 4;
            scores[static_cast<std::size_t>(tc * OmahaPairClasses + pc)] =
                possible ? ScoreUpToFive(counts) : 0;
        }
    std::vector<HandScore> distinct = scores;
    distinct.push_back(0);
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    if (distinct.size() != t.omahaClassScore.size())
        std::abort();
    std::copy(distinct.begin(), distinct.end(), t.omahaClassScore.begin());
    for (std::size_t i = 0; i < scores.size(); ++i)
        t.omahaClass[i] = static_cast<std::uint16_t>(
            std::lower_bound(distinct.begin(), distinct.end(), scores[i]) - distinct.begin());
}

void BuildTables(EvaluatorTables& t)
{
    for (Card card = 0; card < CardCount; ++card)
        t.cardKey[static_cast<std::size_t>(card)] =
            RankKeys[static_cast<std::size_t>(RankOf(card))] +
            (1ull << (SuitShift + 4 * SuitOf(card)));
    t.flushScore.fill(0);
    for (int mask = 0; mask < 8192; ++mask)
        if (std::popcount(static_cast<unsigned>(mask)) >= 5)
            t.flushScore[static_cast<std::size_t>(mask)] = ScoreFlushMask(mask);
    BuildRankHash(t);
    BuildOmahaTables(t);
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
