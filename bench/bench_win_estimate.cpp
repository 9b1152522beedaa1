// One call of the win estimate (1000 deals) at the two ends of its cost: an ordinary Texas
// table with uniformly random opponents, and ten cautious modelled players in Omaha, whose
// hands are redrawn until they rate at least 16.
#include "app/state.h"
#include "cards/step_window.h"
#include "odds/starting_hands.h"
#include "odds/win_estimate.h"
#include "platform/platform.h"
#include "tests/support/quick_table.h"

#include <benchmark/benchmark.h>

namespace {

void SetUpTable(GameVariant variant, int opponents, bool modelling, int aggression, int bluffing)
{
    appState.startingHandTable = QuickStartingHandTable();  // the level-1 table of start-up
    if (appState.mainDialog == nullptr)
        appState.mainDialog = CreateModelessDialog(101, nullptr, nullptr);
    SetControlChecked(appState.mainDialog, ModellingCheckBox, modelling);
    appState.gameVariant = variant;
    appState.roster.clear();
    for (int i = 0; i < opponents; ++i) {
        Player player;
        player.aggression = aggression;
        player.bluffing = bluffing;
        appState.roster.append(player);
    }
    appState.outcomeCounts = {};
    SeedRandom(2024);
}

void RunEstimates(benchmark::State& state, const Card hole[4])
{
    const Card board[5] = {NoCard, NoCard, NoCard, NoCard, NoCard};
    for (auto _ : state)
        EstimateWin(hole, board);
    const OutcomeCounts& counts = appState.outcomeCounts;
    std::int64_t checksum = counts.wins * 3 + counts.ties * 2 + counts.losses;
    benchmark::DoNotOptimize(checksum);
    state.counters["deals/s"] =
        benchmark::Counter(static_cast<double>(counts.total()), benchmark::Counter::kIsRate);
    state.counters["win%"] = 100.0 * static_cast<double>(counts.wins) /
                             static_cast<double>(counts.total() > 0 ? counts.total() : 1);
}

void BM_EstimateWinTexasFiveRandomOpponents(benchmark::State& state)
{
    SetUpTable(TexasHoldem, 5, false, 5, 5);
    const Card hole[4] = {0, 13, NoCard, NoCard};  // a pair of Aces
    RunEstimates(state, hole);
}
BENCHMARK(BM_EstimateWinTexasFiveRandomOpponents)->Unit(benchmark::kMillisecond);

void BM_EstimateWinOmahaTenCautiousModelled(benchmark::State& state)
{
    SetUpTable(OmahaHoldem, 10, true, 0, 0);
    const Card hole[4] = {0, 13, 12, 25};  // Aces and Kings, two suits
    RunEstimates(state, hole);
}
BENCHMARK(BM_EstimateWinOmahaTenCautiousModelled)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// The cost of one generator step of a crowded deal, the unit that the worst ticks are made of:
// the card of each step and whether it is free, one step after the other and 64 at once.
constexpr std::uint64_t ThreeFreeCards =
    (std::uint64_t{1} << 7) | (std::uint64_t{1} << 30) | (std::uint64_t{1} << 44);

void BM_GeneratorStepsOneAtATime(benchmark::State& state)
{
    std::uint32_t generator = 2024;
    std::uint64_t free = 0;
    for (auto _ : state) {
        for (int k = 0; k < StepWindow::Steps; ++k) {
            generator = generator * GeneratorMultiplier + GeneratorIncrement;
            free += (ThreeFreeCards >> CardOfState(generator)) & 1u;
        }
        benchmark::DoNotOptimize(free);
    }
    state.SetItemsProcessed(state.iterations() * StepWindow::Steps);
}
BENCHMARK(BM_GeneratorStepsOneAtATime);

void BM_GeneratorStepsThroughWindows(benchmark::State& state)
{
    StepWindow window;
    const StepWindowMaker fill(ThreeFreeCards);
    std::uint32_t generator = 2024;
    for (auto _ : state) {
        fill(window, generator);
        generator = WindowJumps[StepWindow::Steps](generator);
        benchmark::DoNotOptimize(window.freeSteps);
    }
    state.SetItemsProcessed(state.iterations() * StepWindow::Steps);
}
BENCHMARK(BM_GeneratorStepsThroughWindows);

}  // namespace
