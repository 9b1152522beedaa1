// Hand evaluator: the score of the best five-card hand that a variant's rules allow
// (EvaluateHand in odds/evaluate_hand.h picks the variant in force).
//
// Texas Hold'em takes the best 5 of hole slots 0..1 plus the five board slots (21 sets);
// Omaha Hold'em takes exactly two of hole slots 0..3 and three of the board (60 sets). Any
// slot may hold NoCard; such entries are skipped and the score reflects the cards present.
//
// Threshold rule, shared by both: the sets are visited in their fixed order and the first set
// whose score is above the threshold is returned at once; when none is, the exact maximum is
// returned. With NoThreshold the result is always the maximum. A caller comparing an opponent
// against the hero's score can therefore tell a win, a tie and a loss apart.
#pragma once

#include "cards/card.h"
#include "cards/evaluator_tables.h"

inline constexpr std::int32_t NoThreshold = 0x4000000;  // above every score (< 0xA00000)

// Scores one set of five slots; NoCard entries are skipped, no card at all scores 0.
HandScore ScoreFive(const Card cards[5]);

// The Omaha enumeration: two hole cards and three board cards, 60 sets.
HandScore EvaluateOmaha(const Card hole[4], const Card board[5], std::int32_t threshold);

namespace evaluator_detail {
// Texas with an empty slot: every set in order, under the threshold rule.
HandScore TexasWithGaps(const Card hole[4], const Card board[5], std::int32_t threshold);
// The first set of a complete Texas hand above `threshold`, which its maximum is; `keySum` is
// the sum of the seven keys.
HandScore TexasFirstAbove(const Card hole[4], const Card board[5], std::int32_t threshold,
                          std::uint64_t keySum);

// A Texas hand from the sum of its seven complete-hand keys (the suit counters' start
// included), where the flush bits show a flush or an empty slot: one lookup in the hand table,
// or in the flush table when five cards share a suit, on the suit-rank bits that `bitSum()`
// adds up; the threshold rule as EvaluateTexas.
template <class BitSum>
inline HandScore TexasOnKeySum(std::uint64_t sum, BitSum bitSum, const Card hole[4],
                               const Card board[5], std::int32_t threshold)
{
    std::int64_t best;  // widened as loaded, so that a caller's 64-bit use widens nothing more
    if (sum & FlushBits) [[unlikely]] {
        if (sum & GapBits)
            return TexasWithGaps(hole, board, threshold);
        // Five or more of a suit among seven cards leave no full house or four of a kind, so
        // the best flush is the maximum.
        best = FlushScore(sum, bitSum());
    } else {
        best = HandRankScore(sum);
    }
    // Every score is below NoThreshold: with it (a constant where the caller passes it), this
    // test and the search behind it compile away.
    if (threshold < NoThreshold && best > threshold) [[unlikely]]
        return TexasFirstAbove(hole, board, threshold, sum);
    return static_cast<HandScore>(best);
}
}  // namespace evaluator_detail

// The Texas enumeration without reading the variant (hole slots 0 and 1 only). Inline, so
// that the samplers' loops take a complete hand in line: one sum of seven keys and one lookup.
inline HandScore EvaluateTexas(const Card hole[4], const Card board[5], std::int32_t threshold)
{
    const EvaluatorTables& t = evaluatorTables;
    const std::uint64_t* key = t.handKey.data() + 1;     // key[NoCard] is the first
    const std::uint64_t* firstKey = key + HandKeyCount;  // brings the counters' start
    const std::uint64_t sum = firstKey[hole[0]] + key[hole[1]] + key[board[0]] + key[board[1]] +
                              key[board[2]] + key[board[3]] + key[board[4]];
    const auto bitSum = [&] {
        const std::uint64_t* bit = t.suitRankBit.data() + 1;
        return bit[hole[0]] + bit[hole[1]] + bit[board[0]] + bit[board[1]] + bit[board[2]] +
               bit[board[3]] + bit[board[4]];
    };
    return evaluator_detail::TexasOnKeySum(sum, bitSum, hole, board, threshold);
}

// A board's keys summed once, to score many Texas holes on it (every opponent of a deal).
struct TexasBoard {
    explicit TexasBoard(const Card board[5]) : cards(board), keySum(SuitCountersStart), bitSum(0)
    {
        for (int i = 0; i < 5; ++i) {
            keySum += HandKey(board[i]);
            bitSum += SuitRankBit(board[i]);
        }
    }

    const Card* cards;
    std::uint64_t keySum;  // with the suit counters' start
    std::uint64_t bitSum;
};

// EvaluateTexas(hole, board.cards, NoThreshold): two keys added to the board's sum.
inline HandScore BestTexasOnBoard(const TexasBoard& board, const Card hole[4])
{
    const auto bitSum = [&] { return board.bitSum + SuitRankBit(hole[0]) + SuitRankBit(hole[1]); };
    return evaluator_detail::TexasOnKeySum(board.keySum + HandKey(hole[0]) + HandKey(hole[1]),
                                           bitSum, hole, board.cards, NoThreshold);
}
