// Lookup tables behind the evaluator, built once before main and read-only afterwards.
//
// Rank part: every card carries a 64-bit key. Its low 32 bits are an additive rank key chosen
// so that the sum over any rank multiset (at most four cards of a rank, at most seven cards)
// is unique; the high 32 bits hold four 4-bit suit counters. The sum of a hand's keys thus
// names its rank multiset exactly, and a perfect hash maps that sum to the best non-flush
// score of those cards (for fewer than five cards: the partial score ScoreFive gives them).
//
// Flush part: an 8192-entry table on a suit's 13-bit rank mask (bit = rank index, Ace bit 0)
// gives the best Flush, Straight Flush or Royal Flush within it.
//
// Omaha part: a hand is two hole cards plus three board cards, so the rank multiset splits
// into a pair class (91) and a triple class (455); a dense 455 x 91 table gives the non-flush
// score's class at once, with no hashing. Classes number the 6175 non-flush five-card scores
// in rising order (class 0 scores 0), so the best set is the largest class; 16-bit classes
// and triple-major rows (the six pairs of one triple fall in a few cache lines) keep the table
// close to the first-level cache.
//
// Nothing may evaluate a hand during static initialisation: the tables are filled by a
// dynamic initialiser of evaluator_tables.cpp.
#pragma once

#include "cards/card.h"

#include <array>
#include <cstdint>

// Rank keys by rank index (Ace first), found by tools/find_rank_keys.cpp: each is the smallest
// value that keeps all multiset sums distinct. The largest sum (four Kings, three Queens) is
// 18393157, below 2^25, so the suit counters above bit 32 never receive a carry.
inline constexpr std::array<std::uint32_t, 13> RankKeys = {
    1, 5, 24, 112, 521, 2247, 9244, 30823, 103066, 250154, 667453, 1526359, 3453520};

inline constexpr int SuitShift = 32;  // suit s counts in bits 32 + 4s .. 35 + 4s
// Every suit counter starts at 3, so a counter reaches 8 (its top bit) exactly when five or
// more cards of that suit are present; seven cards take it to 10 at most.
inline constexpr std::uint64_t SuitCountersStart = 0x3333ull << SuitShift;
inline constexpr std::uint64_t FlushBits = 0x8888ull << SuitShift;

// The perfect hash of a rank sum: a multiplicative hash picks a bucket (top bits) and a home
// slot (bits 32 and up); each bucket has its own displacement that moves all its keys to free
// slots of the table.
inline constexpr int RankBucketBits = 13;
inline constexpr int RankSlotBits = 17;  // 131072 slots for 76155 multisets
inline constexpr std::uint64_t RankHashMultiplier = 0x9E3779B97F4A7C15ull;

inline constexpr int OmahaPairClasses = 91;     // unordered rank pairs, repeats allowed
inline constexpr int OmahaTripleClasses = 455;  // unordered rank triples, repeats allowed
inline constexpr int OmahaScoreClasses = 6176;  // the non-flush five-card scores and 0

struct EvaluatorTables {
    std::array<std::uint64_t, CardCount> cardKey;  // rank key + 1 in the card's suit counter
    std::array<std::uint32_t, 1 << RankBucketBits> displacement;  // per bucket, < slot count
    std::array<HandScore, 1 << RankSlotBits> rankScore;  // by slot; 0 where no multiset lands
    std::array<HandScore, 8192> flushScore;              // by rank mask with >= 5 bits, else 0
    std::array<std::uint16_t, 169> omahaPairColumn;      // by rank*13+rank: pair class
    std::array<std::int32_t, 2197> omahaTripleRow;       // by rank*169+rank*13+rank: class * 91
    std::array<std::uint16_t, OmahaTripleClasses * OmahaPairClasses>
        omahaClass;                                            // 0: > 4 of a rank
    std::array<HandScore, OmahaScoreClasses> omahaClassScore;  // rising
};

extern EvaluatorTables evaluatorTables;  // filled before main, never written afterwards

// The table slot of a rank sum (the low 32 bits of a key sum).
inline std::uint32_t RankSlot(std::uint32_t rankSum)
{
    const std::uint64_t hash = rankSum * RankHashMultiplier;
    const std::uint32_t home = static_cast<std::uint32_t>(hash >> 32);
    const std::uint32_t bucket = static_cast<std::uint32_t>(hash >> (64 - RankBucketBits));
    return (home + evaluatorTables.displacement[bucket]) & ((1u << RankSlotBits) - 1);
}

// The best non-flush score of the cards whose keys sum to `keySum`.
inline HandScore RankScore(std::uint64_t keySum)
{
    return evaluatorTables.rankScore[RankSlot(static_cast<std::uint32_t>(keySum))];
}

// The score of a rank multiset given as counts per rank index, without flushes: the score of
// all of it when it has at most five cards, else the best of its five-card parts.
HandScore ScoreRankCounts(const int counts[13]);
