#include "cards/evaluator.h"

#include <benchmark/benchmark.h>

#include <vector>

static void BM_EvaluateTexasPlaceholder(benchmark::State& state)
{
    const Card hole[4] = {0, 13, NoCard, NoCard};
    const Card board[5] = {26, 39, 5, 6, 7};
    HandScore sum = 0;
    for (auto _ : state)
        sum += EvaluateTexas(hole, board, NoThreshold);
    benchmark::DoNotOptimize(sum);
}
BENCHMARK(BM_EvaluateTexasPlaceholder);
