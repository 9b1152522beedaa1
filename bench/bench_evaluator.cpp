// Evaluator throughput on random complete hands, pre-generated so that only the evaluation is
// timed. Each benchmark reports hands per second and keeps a checksum of every score.
#include "cards/evaluator.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <random>
#include <vector>

namespace {

constexpr std::size_t DealCount = 1 << 16;  // fits the caches together with the tables

struct Deal {
    Card hole[4];
    Card board[5];
    std::int32_t threshold;  // a random other hand's score in the same variant
};

std::vector<Deal> MakeDeals(bool omaha)
{
    std::mt19937 rng(12345);
    std::vector<Deal> deals(DealCount);
    for (Deal& d : deals) {
        std::array<Card, CardCount> deck;
        for (Card c = 0; c < CardCount; ++c)
            deck[static_cast<std::size_t>(c)] = c;
        for (std::size_t i = 0; i < 9; ++i) {
            std::uniform_int_distribution<std::size_t> pick(i, CardCount - 1);
            std::swap(deck[i], deck[pick(rng)]);
        }
        for (int i = 0; i < 4; ++i)
            d.hole[i] = deck[static_cast<std::size_t>(i)];
        for (int i = 0; i < 5; ++i)
            d.board[i] = deck[static_cast<std::size_t>(4 + i)];
    }
    // The threshold of each deal is the hero's score: the next deal's full maximum.
    for (std::size_t i = 0; i < DealCount; ++i) {
        const Deal& hero = deals[(i + 1) % DealCount];
        deals[i].threshold = omaha ? EvaluateOmaha(hero.hole, hero.board, NoThreshold)
                                   : EvaluateTexas(hero.hole, hero.board, NoThreshold);
    }
    return deals;
}

template <bool Omaha, bool WithThreshold> void BM_Evaluate(benchmark::State& state)
{
    const std::vector<Deal> deals = MakeDeals(Omaha);
    std::int64_t checksum = 0;
    for (auto _ : state) {
        for (const Deal& d : deals) {
            const std::int32_t t = WithThreshold ? d.threshold : NoThreshold;
            checksum +=
                Omaha ? EvaluateOmaha(d.hole, d.board, t) : EvaluateTexas(d.hole, d.board, t);
        }
        benchmark::DoNotOptimize(checksum);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(DealCount));
    state.counters["checksum"] = static_cast<double>(checksum % 1000000007);
}

}  // namespace

BENCHMARK(BM_Evaluate<false, false>)->Name("EvaluateTexas/NoThreshold");
BENCHMARK(BM_Evaluate<false, true>)->Name("EvaluateTexas/Threshold");
BENCHMARK(BM_Evaluate<true, false>)->Name("EvaluateOmaha/NoThreshold");
BENCHMARK(BM_Evaluate<true, true>)->Name("EvaluateOmaha/Threshold");
