// The views' work per mouse move and per timer tick: picking the player under the mouse with 5
// and with 50 players, drawing the opponents view with 5, drawing the selection grid and
// picking a card in it. Every figure includes waiting for the GL driver to finish.
#include "opponents/opponents_view.h"
#include "platform/headless/headless.h"
#include "render/card_views.h"
#include "render/gl_surface.h"
#include "render/outline_text.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <string>

namespace {

// A headless control of the given size with a context, for one of the program's surfaces.
Window MakeSurface(GlSurface& surface, int width, int height)
{
    Window host = HeadlessCreateWindow(nullptr, width + 10, height + 10);
    Window control = HeadlessAddControl(host, 1, 0, 0, width, height);
    surface.dc = GetDeviceContext(control);
    surface.rc = CreateGlContext(surface.dc);
    surface.width = width;
    surface.height = height;
    return control;
}

// The opponents view at its size in the main dialog (297 x 198), with the names' font and the
// card texture, and `players` markers spread over it. False when there is no OpenGL.
bool SetUpOpponents(int players)
{
    HeadlessReset();
    ResetAppState(appState);
    if (!HeadlessGlAvailable())
        return false;
    GlSurface& surface = appState.opponentsArea.surface;
    MakeSurface(surface, 297, 198);
    if (!surface.rc || !SetupOutlineFont(surface.dc, surface.rc, 24) || !LoadCardTexture())
        return false;
    for (int i = 0; i < players; ++i)
        appState.roster.append({"Player " + std::to_string(i + 1), 5, 5, i % 3 != 0,
                                12 + (i * 53) % 273, 12 + (i * 37) % 174});
    return true;
}

void TearDownOpponents()
{
    DeleteGlContext(appState.opponentsArea.surface.rc);
    HeadlessReset();
    ResetAppState(appState);
}

// The selection window's surface at its start-up size, with the card texture.
bool SetUpGrid(Window& control)
{
    HeadlessReset();
    ResetAppState(appState);
    if (!HeadlessGlAvailable())
        return false;
    control = MakeSurface(appState.selectionSurface, 400, 180);
    return appState.selectionSurface.rc && LoadCardTexture();
}

void TearDownGrid()
{
    DeleteGlContext(appState.selectionSurface.rc);
    HeadlessReset();
    ResetAppState(appState);
}

// One mouse move's pick over the roster, at points that walk across the view.
void BM_PickPlayer(benchmark::State& state)
{
    if (!SetUpOpponents(static_cast<int>(state.range(0)))) {
        state.SkipWithError("no OpenGL surface");
        return;
    }
    std::int64_t found = 0;
    int step = 0;
    for (auto _ : state) {
        const int x = 12 + (step * 53) % 273, y = 186 - (step * 37) % 174;
        found += PickPlayer(x, y) + 1;
        ++step;
    }
    benchmark::DoNotOptimize(found);
    state.counters["checksum"] = static_cast<double>(found);
    state.SetItemsProcessed(state.iterations());  // picks per second
    TearDownOpponents();
}
BENCHMARK(BM_PickPlayer)->Arg(5)->Arg(50)->UseRealTime();

// One timer tick's redraw of the opponents view with the five players of a fresh start.
void BM_DrawOpponents(benchmark::State& state)
{
    if (!SetUpOpponents(5)) {
        state.SkipWithError("no OpenGL surface");
        return;
    }
    for (auto _ : state)
        DrawOpponents();  // ends with the picture copied out, so the frame is finished
    std::uint32_t checksum = 0;
    for (int i = 0; i < appState.roster.count(); ++i)
        checksum += static_cast<std::uint32_t>(appState.roster.at(i).x);
    benchmark::DoNotOptimize(checksum);
    state.SetItemsProcessed(state.iterations());  // frames per second
    TearDownOpponents();
}
BENCHMARK(BM_DrawOpponents)->UseRealTime();

// One timer tick's redraw of the selection grid with all 52 cards.
void BM_DrawSelectionGrid(benchmark::State& state)
{
    Window control = nullptr;
    if (!SetUpGrid(control)) {
        state.SkipWithError("no OpenGL surface");
        return;
    }
    for (auto _ : state)
        DrawSelectionGrid();
    std::uint32_t checksum = HeadlessPixel(control, 30, 30);
    benchmark::DoNotOptimize(checksum);
    state.SetItemsProcessed(state.iterations());  // frames per second
    TearDownGrid();
}
BENCHMARK(BM_DrawSelectionGrid)->UseRealTime();

// One mouse move's pick in the grid, at points that walk across the cells.
void BM_PickCardInGrid(benchmark::State& state)
{
    Window control = nullptr;
    if (!SetUpGrid(control)) {
        state.SkipWithError("no OpenGL surface");
        return;
    }
    std::int64_t sum = 0;
    int step = 0;
    for (auto _ : state) {
        sum += PickCard((step * 31) % 400, (step * 17) % 180, SelectionView) + 1;
        ++step;
    }
    benchmark::DoNotOptimize(sum);
    state.counters["checksum"] = static_cast<double>(sum);
    state.SetItemsProcessed(state.iterations());  // picks per second
    TearDownGrid();
}
BENCHMARK(BM_PickCardInGrid)->UseRealTime();

}  // namespace
