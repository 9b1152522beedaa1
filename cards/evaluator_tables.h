// Lookup tables behind the evaluator, built once before main and read-only afterwards.
//
// Card keys: every card carries a 64-bit key, and a hand is read from the sum of its cards'
// keys. From bit 0 up:
//   bits  0..15  four 4-bit suit counters (suit s in bits 4s..4s+3), one per card of the suit;
//   bits 16..18  a gap counter: the key of NoCard is 1 << 16 and nothing else, so an empty
//                slot adds no rank and no suit but shows in these bits;
//   bits 39..63  the rank field: the card's additive rank key times an odd multiplier, modulo
//                2^25. Carries out of bit 63 vanish, so the field of a sum is (multiplier ×
//                rank sum) mod 2^25, a one-to-one image of the rank sum.
// The additive rank keys make the rank sum of any rank multiset (at most four cards of a rank,
// at most seven cards) unique; the multiplier scatters those sums over the field so that a
// row-displacement table holds them densely: the top 12 bits of the sum pick a row, whose
// offset plus the low 13 bits of the field pick the slot. No multiplication happens per hand:
// it is folded into the keys. Two such tables share the rows' shape:
//   the hand table holds the non-flush score of every multiset of exactly seven cards, the
//   best of its five-card parts: a complete Texas hand costs one load after its row's. It has
//   fewer than 2^16 slots, so its row offsets are 16 bits, taken modulo 2^16;
//   the rank table holds the score of every multiset of at most five cards (partial scores
//   below five), for the sets that the enumerations and the Omaha tables score.
// Keeping the two apart keeps the complete hands' table small enough to stay in the caches.
// The first-card keys add the suit counters' start to the card keys, so that a complete hand's
// seven keys sum to the counters' final values without an eighth addition.
//
// Rank classes number those scores in rising order, class 0 scoring 0: a larger class is a
// better hand, 16 bits hold one, and classScore widens a class to its score.
//
// Flush part: an 8192-entry table on a suit's 13-bit rank mask (bit = rank index, Ace bit 0)
// gives the best Flush, Straight Flush or Royal Flush within it.
//
// Omaha part: the best non-flush hand of two given hole cards with three of five board cards
// depends only on the board's rank multiset and the hole pair's ranks. The board's slot in the
// rank table names its multiset, omahaBoard gives that slot's row of omahaBest, and the row
// holds, per hole pair class (91 unordered rank pairs), the best class over the ten board
// triples: six lookups in one row of three cache lines per hand.
//
// Nothing may evaluate a hand during static initialisation: the tables are filled by a
// dynamic initialiser of evaluator_tables.cpp.
#pragma once

#include "cards/card.h"

#include <array>
#include <bit>
#include <cstdint>

// Rank keys by rank index (Ace first), found by tools/find_rank_keys.cpp: each is the smallest
// value that keeps all multiset sums distinct. The largest sum (four Kings, three Queens) is
// 18393157, below 2^25, so the sums stay distinct modulo 2^25.
inline constexpr std::array<std::uint32_t, 13> RankKeys = {
    1, 5, 24, 112, 521, 2247, 9244, 30823, 103066, 250154, 667453, 1526359, 3453520};

// Every suit counter starts at 3, so a counter reaches 8 (its top bit) exactly when five or
// more cards of that suit are present; seven cards take it to 10 at most.
inline constexpr std::uint64_t SuitCountersStart = 0x3333;
inline constexpr std::uint64_t FlushBits = 0x8888;
inline constexpr std::uint64_t NoCardKey = 1ull << 16;
inline constexpr std::uint64_t GapBits = 7ull << 16;  // at most seven empty slots in a sum

inline constexpr int RankFieldShift = 39;
inline constexpr int RankFieldBits = 25;
// Odd, and picked among random ones for a hand table that packs into fewer than 2^16 slots.
inline constexpr std::uint32_t RankFieldMultiplier = 0x6B5BFA2Bu;
inline constexpr int RankColumnBits = 13;
inline constexpr int RankRowBits = RankFieldBits - RankColumnBits;
inline constexpr int RankRowCount = 1 << RankRowBits;
// Each table's last row start (where the builder's packing puts it) plus a full row: whatever a
// key sum holds, even one of no real hand, its slot is in the table.
inline constexpr int RankSlotCount = 7040 + (1 << RankColumnBits);
inline constexpr int HandSlotCount = 55584 + (1 << RankColumnBits);
static_assert(HandSlotCount <= 1 << 16, "the hand table's slots are taken modulo 2^16");
inline constexpr int RankClassCount = 8555;  // distinct partial and non-flush scores, and 0

inline constexpr int OmahaPairClasses = 91;  // unordered rank pairs, repeats allowed
inline constexpr int OmahaRowStride = 96;    // 192 bytes: a row fills three cache lines
inline constexpr int OmahaBoardRows = 6175;  // five-card rank multisets, at most four a rank

// The rank field of a rank multiset with the given additive rank sum, placed as in a key.
constexpr std::uint64_t RankField(std::uint32_t rankSum)
{
    return static_cast<std::uint64_t>(rankSum * RankFieldMultiplier) << RankFieldShift;
}

struct EvaluatorTables {
    std::array<std::uint64_t, CardCount + 1> cardKey;       // by card + 1: NoCard's key first
    std::array<std::uint64_t, CardCount + 1> firstCardKey;  // cardKey + SuitCountersStart
    std::array<std::uint64_t, CardCount + 1> suitRankBit;   // by card + 1: bit 16 * suit + rank
    std::array<std::uint16_t, RankRowCount> handRow;  // column 0's slot minus field start, mod 2^16
    std::array<HandScore, HandSlotCount> handScore;   // by slot; free slots 0
    std::array<std::uint8_t, CardCount> cardRank;     // rank index of a card
    std::array<std::uint32_t, RankRowCount> rankRow;  // column 0's slot minus field start
    std::array<HandScore, RankSlotCount> rankScore;   // by slot; free slots 0
    std::array<HandScore, RankClassCount> classScore;     // rising
    std::array<HandScore, 8192> flushScore;               // by rank mask with >= 5 bits, else 0
    std::array<std::uint8_t, 169> omahaPairColumn;        // by rank*13+rank: pair class
    std::array<std::uint16_t, RankSlotCount> omahaBoard;  // by slot: a board's row number
    alignas(64) std::array<std::uint16_t, OmahaBoardRows * OmahaRowStride> omahaBest;  // a class
};

extern EvaluatorTables evaluatorTables;  // filled before main, never written afterwards

// The key of a card or of NoCard.
inline std::uint64_t CardKey(Card card)
{
    return evaluatorTables.cardKey[static_cast<std::size_t>(card + 1)];
}

// The slot of the rank table (at most five cards) for the key sum `keySum`: row offset plus
// column, where the stored offsets already hold minus the row's start, so the whole field is
// added at once.
inline std::uint32_t RankSlot(std::uint64_t keySum)
{
    return evaluatorTables.rankRow[keySum >> (64 - RankRowBits)] +
           static_cast<std::uint32_t>(keySum >> RankFieldShift);
}

// The best non-flush score of the at most five cards whose keys sum to `keySum`.
inline HandScore RankScore(std::uint64_t keySum)
{
    return evaluatorTables.rankScore[RankSlot(keySum)];
}

// The slot of the hand table (seven cards) for the key sum `keySum`, as RankSlot but modulo
// 2^16: the table has fewer slots, so 16-bit offsets do, and the row offsets take 8 KB of the
// first-level cache instead of 16 KB.
inline std::uint32_t HandSlot(std::uint64_t keySum)
{
    return static_cast<std::uint16_t>(evaluatorTables.handRow[keySum >> (64 - RankRowBits)] +
                                      static_cast<std::uint32_t>(keySum >> RankFieldShift));
}

// The best non-flush score of the seven cards whose keys sum to `keySum`.
inline HandScore HandRankScore(std::uint64_t keySum)
{
    return evaluatorTables.handScore[HandSlot(keySum)];
}

// The suit-rank bit of a card (0 for NoCard).
inline std::uint64_t SuitRankBit(Card card)
{
    return evaluatorTables.suitRankBit[static_cast<std::size_t>(card + 1)];
}

// The best flush of cards whose key sum `keySum` shows five or more of a suit (of one suit
// only, as at most seven cards are summed), from the sum `bitSum` of their suit-rank bits:
// distinct cards add up without carries, so the suit's 16 bits are its rank mask.
inline HandScore FlushScore(std::uint64_t keySum, std::uint64_t bitSum)
{
    const int suit = std::countr_zero(keySum & FlushBits) / 4;
    return evaluatorTables.flushScore[static_cast<std::size_t>((bitSum >> (16 * suit)) & 0x1FFF)];
}

// The score of a rank multiset given as counts per rank index, without flushes: the score of
// all of it when it has at most five cards, else the best of its five-card parts.
HandScore ScoreRankCounts(const int counts[13]);
