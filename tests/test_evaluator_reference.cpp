// The table-driven evaluator against the literal reference, hand by hand: every five-card
// hand, random complete Texas and Omaha hands with and without thresholds, and random hands
// with empty slots.
#include "cards/evaluator.h"
#include "tests/support/reference_evaluator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>

namespace {

#if defined(TABLEWISE_SANITIZED)
constexpr int HandCount = 100000;  // the sanitizers slow everything down some twenty times
#else
constexpr int HandCount = 2000000;
#endif

// Nine distinct cards: hole slots 0..3 and board slots 0..4.
struct Deal {
    Card hole[4];
    Card board[5];
};

Deal RandomDeal(std::mt19937& rng)
{
    std::array<Card, CardCount> deck;
    for (Card c = 0; c < CardCount; ++c)
        deck[static_cast<std::size_t>(c)] = c;
    for (std::size_t i = 0; i < 9; ++i) {
        std::uniform_int_distribution<std::size_t> pick(i, CardCount - 1);
        std::swap(deck[i], deck[pick(rng)]);
    }
    return {{deck[0], deck[1], deck[2], deck[3]}, {deck[4], deck[5], deck[6], deck[7], deck[8]}};
}

// Thresholds worth checking for a hand scoring `score`: just below, equal, a random other
// hand's score and an arbitrary value.
std::array<std::int32_t, 4> Thresholds(HandScore score, HandScore other, std::mt19937& rng)
{
    std::uniform_int_distribution<std::int32_t> any(0, 0x9FFFFF);
    return {score - 1, score, other, any(rng)};
}

}  // namespace

TEST(EvaluatorReference, EveryFiveCardHandScoresAsTheReference)
{
    Card five[5];
    std::int64_t mismatches = 0;
    for (five[0] = 0; five[0] < 48; ++five[0])
        for (five[1] = five[0] + 1; five[1] < 49; ++five[1])
            for (five[2] = five[1] + 1; five[2] < 50; ++five[2])
                for (five[3] = five[2] + 1; five[3] < 51; ++five[3])
                    for (five[4] = five[3] + 1; five[4] < 52; ++five[4])
                        if (ScoreFive(five) != ReferenceScoreFive(five) && ++mismatches < 10)
                            ADD_FAILURE() << five[0] << ' ' << five[1] << ' ' << five[2] << ' '
                                          << five[3] << ' ' << five[4];
    EXPECT_EQ(mismatches, 0);
}

TEST(EvaluatorReference, RandomTexasHandsMatchWithAndWithoutThresholds)
{
    std::mt19937 rng(20240611);
    HandScore previous = 0;
    for (int n = 0; n < HandCount; ++n) {
        const Deal d = RandomDeal(rng);
        const HandScore score = ReferenceEvaluateTexas(d.hole, d.board, NoThreshold);
        ASSERT_EQ(EvaluateTexas(d.hole, d.board, NoThreshold), score);
        // The reference is slow; thresholds on every fourth hand keep the run short.
        if (n % 4 == 0) {
            for (std::int32_t t : Thresholds(score, previous, rng)) {
                ASSERT_EQ(EvaluateTexas(d.hole, d.board, t),
                          ReferenceEvaluateTexas(d.hole, d.board, t))
                    << "threshold " << t;
            }
        }
        previous = score;
    }
}

TEST(EvaluatorReference, RandomOmahaHandsMatchWithAndWithoutThresholds)
{
    std::mt19937 rng(7781);
    HandScore previous = 0;
    for (int n = 0; n < HandCount / 4; ++n) {
        const Deal d = RandomDeal(rng);
        const HandScore score = ReferenceEvaluateOmaha(d.hole, d.board, NoThreshold);
        ASSERT_EQ(EvaluateOmaha(d.hole, d.board, NoThreshold), score);
        if (n % 4 == 0) {
            for (std::int32_t t : Thresholds(score, previous, rng)) {
                ASSERT_EQ(EvaluateOmaha(d.hole, d.board, t),
                          ReferenceEvaluateOmaha(d.hole, d.board, t))
                    << "threshold " << t;
            }
        }
        previous = score;
    }
}

// Flushes are rare in random deals; deals from one or two suits make them common, including
// six- and seven-card flushes, straight flushes and Omaha hands with many suited sets.
TEST(EvaluatorReference, SuitHeavyHandsMatch)
{
    std::mt19937 rng(99);
    for (int n = 0; n < HandCount / 8; ++n) {
        Deal d = RandomDeal(rng);
        const int suitA = static_cast<int>(rng() % 4);
        const int suitB = static_cast<int>(rng() % 4);
        // Move every card into one of two suits, keeping the cards distinct.
        std::array<int, CardCount> taken{};
        auto recolour = [&](Card& card) {
            const int suit = rng() % 3 != 0 ? suitA : suitB;
            Card moved = suit * 13 + RankOf(card);
            for (int step = 0; taken[static_cast<std::size_t>(moved)]; ++step)
                moved = ((suit + step) % 4) * 13 + RankOf(card);
            taken[static_cast<std::size_t>(moved)] = 1;
            card = moved;
        };
        std::for_each(d.hole, d.hole + 4, recolour);
        std::for_each(d.board, d.board + 5, recolour);
        const HandScore texas = ReferenceEvaluateTexas(d.hole, d.board, NoThreshold);
        const HandScore omaha = ReferenceEvaluateOmaha(d.hole, d.board, NoThreshold);
        ASSERT_EQ(EvaluateTexas(d.hole, d.board, NoThreshold), texas);
        ASSERT_EQ(EvaluateOmaha(d.hole, d.board, NoThreshold), omaha);
        ASSERT_EQ(EvaluateTexas(d.hole, d.board, texas - 1),
                  ReferenceEvaluateTexas(d.hole, d.board, texas - 1));
        ASSERT_EQ(EvaluateOmaha(d.hole, d.board, omaha - 1),
                  ReferenceEvaluateOmaha(d.hole, d.board, omaha - 1));
    }
}

TEST(EvaluatorReference, HandsWithEmptySlotsMatch)
{
    std::mt19937 rng(4242);
    for (int n = 0; n < HandCount / 8; ++n) {
        Deal d = RandomDeal(rng);
        // Each slot is empty with chance 1/4, a few hands with almost nothing present.
        const bool sparse = n % 16 == 0;
        for (Card* slot : {&d.hole[0], &d.hole[1], &d.hole[2], &d.hole[3], &d.board[0], &d.board[1],
                           &d.board[2], &d.board[3], &d.board[4]})
            if (rng() % 4 == 0 || (sparse && rng() % 4 != 0))
                *slot = NoCard;
        ASSERT_EQ(ScoreFive(d.board), ReferenceScoreFive(d.board));
        const HandScore texas = ReferenceEvaluateTexas(d.hole, d.board, NoThreshold);
        const HandScore omaha = ReferenceEvaluateOmaha(d.hole, d.board, NoThreshold);
        for (std::int32_t t : Thresholds(texas, omaha, rng)) {
            ASSERT_EQ(EvaluateTexas(d.hole, d.board, t),
                      ReferenceEvaluateTexas(d.hole, d.board, t));
            ASSERT_EQ(EvaluateOmaha(d.hole, d.board, t),
                      ReferenceEvaluateOmaha(d.hole, d.board, t));
        }
        ASSERT_EQ(EvaluateTexas(d.hole, d.board, NoThreshold), texas);
        ASSERT_EQ(EvaluateOmaha(d.hole, d.board, NoThreshold), omaha);
    }
}
