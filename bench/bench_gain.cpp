// One frame of the gain view on a headless Mesa surface (the frame is read back into the
// control's pixels at the swap, which the desktop does not do).
#include "app/state.h"
#include "platform/headless/headless.h"
#include "render/gain.h"
#include "render/gl_surface.h"
#include "render/outline_text.h"

#include <benchmark/benchmark.h>

static void BM_DrawGainFrame(benchmark::State& state)
{
    HeadlessReset();
    ResetAppState(appState);
    Window host = HeadlessCreateWindow(nullptr, 200, 60);
    Window control = HeadlessAddControl(host, 1015, 0, 0, 157, 34);
    GlSurface& surface = appState.gainArea.surface;
    surface.dc = GetDeviceContext(control);
    surface.rc = CreateGlContext(surface.dc);
    surface.width = 157;
    surface.height = 34;
    if (!surface.rc || !SetupOutlineFont(surface.dc, surface.rc, 24)) {
        state.SkipWithError("no OpenGL context or font");
        return;
    }
    appState.outcomeCounts = {600, 20, 380};
    int opponents = 0;
    for (auto _ : state)
        DrawGain(opponents++ % 6);  // recomputes and draws "+x.x%" each time
    benchmark::DoNotOptimize(gainPercent);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DrawGainFrame)->UseRealTime();
