// Outline text: one player name drawn as the opponents view draws it, and the font set-up of a
// context, with and without loading the glyphs.
#include "platform/headless/headless.h"
#include "render/gl_surface.h"
#include "render/outline_text.h"
#include "render/outline_text_testing.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

namespace {

struct BenchSurface {
    Window control = nullptr;
    GlSurface surface;
};

// A 200 x 200 headless surface with a context; false when Mesa's EGL is missing.
bool MakeSurface(BenchSurface& s)
{
    if (!HeadlessGlAvailable())
        return false;
    Window host = HeadlessCreateWindow(nullptr, 220, 220);
    s.control = HeadlessAddControl(host, 1, 0, 0, 200, 200);
    s.surface.dc = GetDeviceContext(s.control);
    s.surface.rc = CreateGlContext(s.surface.dc);
    s.surface.width = s.surface.height = 200;
    return s.surface.rc != nullptr;
}

// Draws "Player 3" at 0.75 and waits until the rasteriser has finished it. The checksum is a
// pixel read back once at the end, so the drawing cannot be skipped.
void BM_DrawPlayerName(benchmark::State& state)
{
    BenchSurface s;
    if (!MakeSurface(s) || !SetupOutlineFont(s.surface.dc, s.surface.rc, 24)) {
        state.SkipWithError("no OpenGL surface or font");
        return;
    }
    BeginFrame(s.surface);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 1, 1);
    glTranslatef(-0.9f, -0.2f, 0);
    for (auto _ : state) {
        DrawOutlineTextScaled("Player 3", 0.75f, AlignLeft | AlignBaseline);
        glFinish();
    }
    EndFrame(s.surface);
    std::uint32_t checksum = HeadlessPixel(s.control, 40, 100);
    benchmark::DoNotOptimize(checksum);
    state.SetItemsProcessed(state.iterations());  // names per second
    DeleteGlContext(s.surface.rc);
}
BENCHMARK(BM_DrawPlayerName)->UseRealTime();

// Sets up the font of one context: 256 display lists. With `reload`, the glyphs are read from
// the font file and tessellated again first, as at the first set-up of the run.
void SetupFont(benchmark::State& state, bool reload)
{
    BenchSurface s;
    if (!MakeSurface(s) || !SetupOutlineFont(s.surface.dc, s.surface.rc, 24)) {
        state.SkipWithError("no OpenGL surface or font");
        return;
    }
    std::uint64_t bases = 0;
    for (auto _ : state) {
        if (reload)
            ForgetLoadedOutlineFont();
        benchmark::DoNotOptimize(SetupOutlineFont(s.surface.dc, s.surface.rc, 24));
        state.PauseTiming();
        const std::uint32_t base = FontListBaseOf(s.surface.rc);
        bases += base;
        MakeGlCurrent(s.surface.dc, s.surface.rc);
        glDeleteLists(base, 256);
        MakeGlCurrent(nullptr, nullptr);
        state.ResumeTiming();
    }
    benchmark::DoNotOptimize(bases);
    state.SetItemsProcessed(state.iterations());  // set-ups per second
    DeleteGlContext(s.surface.rc);
}

void BM_SetupOutlineFontFirstTime(benchmark::State& state)
{
    SetupFont(state, true);
}
BENCHMARK(BM_SetupOutlineFontFirstTime)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SetupOutlineFontLoaded(benchmark::State& state)
{
    SetupFont(state, false);
}
BENCHMARK(BM_SetupOutlineFontLoaded)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
