// The longest timer ticks: one tick of the estimate timer (a batch of the final-hand
// distribution and 1000 deals of the win estimate) on crowded and cautious tables, from an
// empty roster to 100 players, both variants, modelling on and off. The main
// dialog is the headless one, with its bars and texts; the OpenGL views are left out.
#include "app/main_dialog.h"
#include "app/result_bars.h"
#include "app/state.h"
#include "platform/headless/headless.h"
#include "render/card_views.h"
#include "tests/support/quick_table.h"

#include <benchmark/benchmark.h>

namespace {

void Prepare(int players, GameVariant variant, bool modelling, int aggression, int bluffing,
             bool playing)
{
    const StartingHandTable& table = QuickStartingHandTable();
    HeadlessReset();
    ResetAppState(appState);
    appState.startingHandTable = table;
    CreateDrawingObjects();
    Window dialog = CreateModelessDialog(101, nullptr, MainDialogProc);
    appState.gameVariant = variant;
    SetControlChecked(dialog, ModellingCheckBox, modelling);
    for (int i = 0; i < players; ++i) {
        Player p;
        p.aggression = aggression;
        p.bluffing = bluffing;
        p.playing = playing;
        appState.roster.append(p);
    }
    for (Card c : {0, 13, 26, 39})  // a complete hole in either variant, no board
        ChangeCard(c, true);
    SeedRandom(7);
}

// args: players, variant, modelling, aggression, bluffing, playing
void BM_EstimateTick(benchmark::State& state)
{
    Prepare(static_cast<int>(state.range(0)), static_cast<GameVariant>(state.range(1)),
            state.range(2) != 0, static_cast<int>(state.range(3)), static_cast<int>(state.range(4)),
            state.range(5) != 0);
    for (auto _ : state) {
        ClearHandTypeCounts(appState);  // keep the final-hand batch in every tick
        HeadlessFireTimer(appState.mainDialog, EstimateTimer);
    }
    benchmark::DoNotOptimize(appState.outcomeCounts.wins);
    state.counters["deals"] = static_cast<double>(appState.outcomeCounts.total());
}

}  // namespace

BENCHMARK(BM_EstimateTick)
    ->ArgNames({"players", "omaha", "modelling", "aggression", "bluffing", "playing"})
    ->Args({0, 0, 0, 5, 5, 1})
    ->Args({0, 1, 1, 0, 0, 1})
    ->Args({5, 0, 0, 5, 5, 1})
    ->Args({100, 0, 0, 5, 5, 1})
    ->Args({100, 1, 0, 5, 5, 1})
    ->Args({22, 0, 1, 0, 0, 1})
    ->Args({100, 0, 1, 0, 0, 1})
    ->Args({10, 1, 1, 0, 0, 1})
    ->Args({100, 1, 1, 0, 0, 1})
    ->Args({100, 1, 1, 10, 10, 1})
    ->Args({22, 0, 1, 0, 10, 1})
    ->Args({22, 0, 1, 10, 0, 0})
    ->Args({10, 1, 1, 10, 0, 0})
    ->Args({21, 0, 1, 1, 0, 1})
    ->Args({22, 0, 1, 5, 0, 1})
    ->Args({100, 0, 0, 5, 5, 0})
    ->Args({100, 0, 1, 10, 10, 0})
    ->Args({100, 1, 1, 0, 0, 0})
    ->Unit(benchmark::kMillisecond);
