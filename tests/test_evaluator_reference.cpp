// The table-driven evaluator against the literal reference, hand by hand.
#include "cards/evaluator.h"
#include "tests/support/reference_evaluator.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <utility>

namespace {

#if defined(TABLEWISE_SANITIZED)
constexpr int HandCount = 100000;  // the sanitizers slow everything down some twenty times
#else
constexpr int HandCount = 2000000;
#endif

struct Deal {
    Card hole[4];
    Card board[5];
};
// Nine distinct cards. Deal n % 8 == 0 comes from two random suits (six- and seven-card flushes,
// straight flushes); in deal n % 8 == 4 each slot is empty with chance 1/4 (3/4 in one of 16).
Deal RandomDeal(std::mt19937& rng, int n)
{
    const int a = static_cast<int>(rng() % 4);
    const int b = static_cast<int>(rng() % 4);
    std::array<Card, CardCount> deck;
    std::size_t size = 0;
    for (Card c = 0; c < CardCount; ++c)
        if (n % 8 != 0 || SuitOf(c) == a || SuitOf(c) == b)
            deck[size++] = c;
    for (std::size_t i = 0; i < 9; ++i)
        std::swap(deck[i], deck[std::uniform_int_distribution<std::size_t>(i, size - 1)(rng)]);
    Deal d = {{deck[0], deck[1], deck[2], deck[3]}, {deck[4], deck[5], deck[6], deck[7], deck[8]}};
    for (Card* slot : {&d.hole[0], &d.hole[1], &d.hole[2], &d.hole[3], &d.board[0], &d.board[1],
                       &d.board[2], &d.board[3], &d.board[4]})
        if (n % 8 == 4 && rng() % 4 < (n % 128 == 4 ? 3u : 1u))
            *slot = NoCard;
    return d;
}

using Evaluate = HandScore (*)(const Card[4], const Card[5], std::int32_t);

// Thresholds on every fourth deal (the reference is slow): below and at the score, an earlier
// deal's score and an arbitrary value.
void ExpectRandomHandsMatch(Evaluate fast, Evaluate reference, unsigned seed, int hands)
{
    std::mt19937 rng(seed);
    HandScore previous = 0;
    for (int n = 0; n < hands; ++n) {
        const Deal d = RandomDeal(rng, n);
        ASSERT_EQ(ScoreFive(d.board), ReferenceScoreFive(d.board)) << "deal " << n;
        const HandScore score = reference(d.hole, d.board, NoThreshold);
        ASSERT_EQ(fast(d.hole, d.board, NoThreshold), score) << "deal " << n;
        if (n % 4 != 0)
            continue;
        const std::int32_t any = std::uniform_int_distribution<std::int32_t>(0, 0x9FFFFF)(rng);
        for (std::int32_t t : {score - 1, score, previous, any}) {
            ASSERT_EQ(fast(d.hole, d.board, t), reference(d.hole, d.board, t))
                << "deal " << n << " threshold " << t;
        }
        previous = score;
    }
}

}  // namespace

TEST(EvaluatorReference, EveryFiveCardHandScoresAsTheReferenceInTheKnownCategoryCounts)
{
    std::array<std::int64_t, HandTypeCount> counts{};
    std::int64_t mismatches = 0;
    Card f[5];
    for (f[0] = 0; f[0] < 48; ++f[0])
        for (f[1] = f[0] + 1; f[1] < 49; ++f[1])
            for (f[2] = f[1] + 1; f[2] < 50; ++f[2])
                for (f[3] = f[2] + 1; f[3] < 51; ++f[3])
                    for (f[4] = f[3] + 1; f[4] < 52; ++f[4]) {
                        const HandScore score = ScoreFive(f);
                        ++counts[static_cast<std::size_t>(HandTypeOf(score))];
                        if (score != ReferenceScoreFive(f) && ++mismatches < 10)
                            ADD_FAILURE()
                                << f[0] << ' ' << f[1] << ' ' << f[2] << ' ' << f[3] << ' ' << f[4];
                    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(counts, (std::array<std::int64_t, HandTypeCount>{1302540, 1098240, 123552, 54912,
                                                               10200, 5108, 3744, 624, 36, 4}));
}

TEST(EvaluatorReference, RandomTexasHandsMatchWithAndWithoutThresholds)
{
    ExpectRandomHandsMatch(EvaluateTexas, ReferenceEvaluateTexas, 20240611, HandCount);
}

TEST(EvaluatorReference, RandomOmahaHandsMatchWithAndWithoutThresholds)
{
    ExpectRandomHandsMatch(EvaluateOmaha, ReferenceEvaluateOmaha, 7781, HandCount / 2);
}
