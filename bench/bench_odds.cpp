// The odds engine's tick-sized pieces: one sampling batch of the final-hand distribution (no
// card known) with and without its 51 bar redraws, and the whole starting-hand table.
#include "app/result_bars.h"
#include "app/state.h"
#include "odds/final_hands.h"
#include "odds/starting_hands.h"
#include "platform/headless/headless.h"

#include <benchmark/benchmark.h>

namespace {

// One call of the advance with nothing chosen: a batch of 5000 samples. With `redraw` the bars
// go into the headless device contexts of a main dialog built from its template.
void FinalHandBatch(benchmark::State& state, GameVariant variant, bool redraw)
{
    HeadlessReset();
    ResetAppState(appState);
    CreateDrawingObjects();
    appState.gameVariant = variant;
    appState.mainDialog = redraw ? CreateModelessDialog(101, nullptr, nullptr) : nullptr;
    SeedRandom(1);
    std::int64_t checksum = 0;
    for (auto _ : state) {
        ClearHandTypeCounts(appState);
        AdvanceFinalHandDistribution();
        for (int i = 0; i < HandTypeCount; ++i)
            checksum += static_cast<std::int64_t>(i) * appState.handTypeCounts[i];
    }
    benchmark::DoNotOptimize(checksum);
    state.SetItemsProcessed(state.iterations() * FinalHandBatchSize);
    ResetAppState(appState);
    HeadlessReset();
}

void BM_FinalHandBatchTexas(benchmark::State& state)
{
    FinalHandBatch(state, TexasHoldem, true);
}
void BM_FinalHandBatchTexasNoRedraw(benchmark::State& state)
{
    FinalHandBatch(state, TexasHoldem, false);
}
void BM_FinalHandBatchOmaha(benchmark::State& state)
{
    FinalHandBatch(state, OmahaHoldem, true);
}
void BM_FinalHandBatchOmahaNoRedraw(benchmark::State& state)
{
    FinalHandBatch(state, OmahaHoldem, false);
}
BENCHMARK(BM_FinalHandBatchTexas)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FinalHandBatchTexasNoRedraw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FinalHandBatchOmaha)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FinalHandBatchOmahaNoRedraw)->Unit(benchmark::kMillisecond);

// The 91 cells of the table as start-up computes them, from generator state 1.
void BM_StartingHandTable(benchmark::State& state)
{
    const int level = static_cast<int>(state.range(0));
    ResetAppState(appState);
    double checksum = 0;
    for (auto _ : state) {
        appState.startingHandTable = StartingHandTable{};
        appState.precalcCellsDone = 0;
        SeedRandom(1);
        while (!ComputeNextCell(level)) {
        }
        for (int row = 0; row < 13; ++row)
            for (int column = 0; column < 13; ++column)
                checksum += appState.startingHandTable.offsuit[row][column] +
                            appState.startingHandTable.suited[row][column];
    }
    benchmark::DoNotOptimize(checksum);
    state.SetItemsProcessed(state.iterations() * StartingHandCells);
    ResetAppState(appState);
}
BENCHMARK(BM_StartingHandTable)->Arg(DetailedCalculation)->Unit(benchmark::kMillisecond);

}  // namespace
