// Lookup tables behind the evaluator, built once before main and read-only afterwards.
//
// Card keys: every card carries a 64-bit key, and a hand is read from the sum of its cards'
// keys. From bit 0 up:
//   bits  0..15  the column sum: each card adds its rank's column key, the low 13 bits of its
//                rank field (below). Seven cards add up to less than 2^16, so nothing carries
//                out of these bits;
//   bits 16..31  four 4-bit suit counters (suit s in bits 16+4s..19+4s), one per card of the
//                suit;
//   bits 32..34  carries out of the counters, which only the complete-hand key of NoCard makes;
//   bits 35..37  a gap counter: the key of NoCard is 1 << 35 and nothing else, so an empty
//                slot adds no rank and no suit but shows in these bits;
//   bits 39..63  the rank field: the card's additive rank key times an odd multiplier, modulo
//                2^25. Carries out of bit 63 vanish, so the field of a sum is (multiplier ×
//                rank sum) mod 2^25, a one-to-one image of the rank sum.
// The additive rank keys make the rank sum of any rank multiset (at most four cards of a rank,
// at most seven cards) unique; the multiplier scatters those sums over the field so that a
// row-displacement table holds them densely: the top 12 bits of the sum pick a row, whose
// offset plus a column picks the slot. No multiplication happens per hand: it is folded into
// the keys. Two such tables share the rows:
//   the hand table holds the non-flush score of every multiset of exactly seven cards, the
//   best of its five-card parts: a complete Texas hand costs one load after its row's. Its
//   column is the column sum, which the low 16 bits of the key sum hold as they are, and its
//   slots are taken modulo 2^16, so that its row offsets are 16 bits;
//   the rank table holds the score of every multiset of at most five cards (partial scores
//   below five), for the sets that the enumerations and the Omaha tables score. Its column is
//   the low 13 bits of the rank field, reached by adding the whole field to the row offset.
// Keeping the two apart keeps the complete hands' table small enough to stay in the caches.
// Within a row the column sum's low 13 bits are the field's, so both columns tell the multisets
// of a row apart.
// Complete hands (Texas, seven slots) sum their own keys, which differ in NoCard's alone: it
// also adds GapInCounters to the counters, which leaves some counter's top bit set however
// many of the seven slots are empty, so that one test of the flush bits finds flushes and gaps.
// The first card's key adds the counters' start, so that seven keys sum to the counters' final
// values without an eighth addition.
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

inline constexpr int ColumnKeyBits = 13;
inline constexpr int SuitCounterShift = 16;

// The suit counters set to `counters` (suit s in bits 4s..4s+3), placed as in a key.
constexpr std::uint64_t SuitCounters(std::uint64_t counters)
{
    return counters << SuitCounterShift;
}

// Every suit counter starts at 3, so a counter reaches 8 (its top bit) exactly when five or
// more cards of that suit are present; seven cards take it to 10 at most.
inline constexpr std::uint64_t SuitCountersStart = SuitCounters(0x3333);
inline constexpr std::uint64_t FlushBits = SuitCounters(0x8888);
inline constexpr std::uint64_t NoCardKey = 1ull << 35;
inline constexpr std::uint64_t GapBits = 7ull << 35;  // at most seven empty slots in a sum
// Added by each NoCard of a complete hand: found by trying every value on every count of empty
// slots (1 to 7) and suit counts of the cards present, it sets some counter's top bit in each,
// and carries at most 7 out of the counters.
inline constexpr std::uint64_t GapInCounters = SuitCounters(0x125);

inline constexpr int RankFieldShift = 39;
inline constexpr int RankFieldBits = 25;
// Odd, and picked among random ones for a hand table that packs into fewer than 2^16 slots.
inline constexpr std::uint32_t RankFieldMultiplier = 0x6B5BFA2Bu;
inline constexpr int RankColumnBits = 13;
inline constexpr int RankRowBits = RankFieldBits - RankColumnBits;
inline constexpr int RankRowCount = 1 << RankRowBits;
// The rank table's last row start (where the builder's packing puts it) plus a full row, and
// every 16-bit slot of the hand table: whatever a key sum holds, even one of no real hand, its
// slot is in the table.
inline constexpr int RankSlotCount = 7040 + (1 << RankColumnBits);
inline constexpr int HandSlotCount = 1 << 16;
inline constexpr int RankClassCount = 8555;  // distinct partial and non-flush scores, and 0

inline constexpr int HandKeyCount = CardCount + 1;  // NoCard's first

inline constexpr int OmahaPairClasses = 91;  // unordered rank pairs, repeats allowed
inline constexpr int OmahaRowStride = 96;    // 192 bytes: a row fills three cache lines
inline constexpr int OmahaBoardRows = 6175;  // five-card rank multisets, at most four a rank

// The rank field of a rank multiset with the given additive rank sum, placed as in a key.
constexpr std::uint64_t RankField(std::uint32_t rankSum)
{
    return static_cast<std::uint64_t>(rankSum * RankFieldMultiplier) << RankFieldShift;
}

// The column key of a rank index: the low bits of its rank field.
constexpr std::uint32_t ColumnKey(int rank)
{
    return RankKeys[static_cast<std::size_t>(rank)] * RankFieldMultiplier &
           ((1u << ColumnKeyBits) - 1);
}

struct EvaluatorTables {
    std::array<std::uint64_t, CardCount + 1> cardKey;  // by card + 1: NoCard's key first
    // By card + 1, the complete-hand keys (cardKey, NoCard's with GapInCounters) and then,
    // from HandKeyCount on, the same with SuitCountersStart, for a hand's first card: one base
    // address reaches both.
    std::array<std::uint64_t, 2 * HandKeyCount> handKey;
    std::array<std::uint64_t, CardCount + 1> suitRankBit;  // by card + 1: bit 16 * suit + rank
    std::array<std::uint16_t, RankRowCount> handRow;       // column 0's slot
    std::array<HandScore, HandSlotCount> handScore;        // by slot; free slots 0
    std::array<std::uint8_t, CardCount> cardRank;          // rank index of a card
    std::array<std::uint32_t, RankRowCount> rankRow;       // column 0's slot minus field start
    std::array<HandScore, RankSlotCount> rankScore;        // by slot; free slots 0
    std::array<HandScore, RankClassCount> classScore;      // rising
    std::array<HandScore, 8192> flushScore;                // by rank mask with >= 5 bits, else 0
    std::array<std::uint8_t, 169> omahaPairColumn;         // by rank*13+rank: pair class
    std::array<std::uint16_t, RankSlotCount> omahaBoard;   // by slot: a board's row number
    alignas(64) std::array<std::uint16_t, OmahaBoardRows * OmahaRowStride> omahaBest;  // a class
};

extern EvaluatorTables evaluatorTables;  // filled before main, never written afterwards

// The key of a card or of NoCard.
inline std::uint64_t CardKey(Card card)
{
    return evaluatorTables.cardKey[static_cast<std::size_t>(card + 1)];
}

// The key of a card or of NoCard in a complete hand.
inline std::uint64_t HandKey(Card card)
{
    return evaluatorTables.handKey[static_cast<std::size_t>(card + 1)];
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

// The slot of the hand table (seven cards) for the key sum `keySum`: the row's offset plus the
// column sum, modulo 2^16, so that the column needs no shift and the row offsets take 8 KB of
// the first-level cache.
inline std::uint64_t HandSlot(std::uint64_t keySum)
{
#if defined(__x86_64__)
    // The column copied out as it is widened, the row shifted down in place, and a 16-bit
    // addition, which leaves the zero bits above it as they are: three instructions where the
    // compiler takes four.
    std::uint64_t slot;
    asm("movzwl %w1, %k0" : "=r"(slot) : "r"(keySum));
    asm("addw %1, %w0"
        : "+r"(slot)
        : "m"(evaluatorTables.handRow[keySum >> (64 - RankRowBits)])
        : "cc");
    return slot;
#else
    return static_cast<std::uint16_t>(evaluatorTables.handRow[keySum >> (64 - RankRowBits)] +
                                      static_cast<std::uint16_t>(keySum));
#endif
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
// distinct cards add up without carries, so the suit's 16 bits are its rank mask. The suit is
// read from the counters shifted down: masked as the callers' tests mask them, the compiler
// would keep the masked sum in their loops in place of a plain test.
inline HandScore FlushScore(std::uint64_t keySum, std::uint64_t bitSum)
{
    const int suit =
        std::countr_zero(keySum >> SuitCounterShift & FlushBits >> SuitCounterShift) / 4;
    return evaluatorTables.flushScore[static_cast<std::size_t>((bitSum >> (16 * suit)) & 0x1FFF)];
}

// The score of a rank multiset given as counts per rank index, without flushes: the score of
// all of it when it has at most five cards, else the best of its five-card parts.
HandScore ScoreRankCounts(const int counts[13]);
