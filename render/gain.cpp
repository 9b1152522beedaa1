#include "render/gain.h"

#include "app/state.h"
#include "render/gl_surface.h"
#include "render/outline_text.h"

#include <GL/gl.h>

#include <bit>
#include <cstdio>

float gainPercent = 0.0f;
int gainOpponents = 0;

float ComputeGainPercent(std::int64_t wins, std::int64_t ties, std::int64_t losses, int opponents)
{
    const double total = static_cast<double>(wins + ties + losses);
    const double share =
        (static_cast<double>(wins) + 0.5 * static_cast<double>(ties)) / (total + 0.001);
    return static_cast<float>((share * (opponents + 1) - 1.0) * 100.0);
}

std::string FormatGain(float gain)
{
    const double g = gain;
    const char* format = "%.0f%%";
    if (g >= 100)
        format = "+%.0f%%";
    else if (g >= 10)
        format = "+%.1f%%";
    else if (g > 0)
        format = "+%.2f%%";
    else if (g > -10)
        format = "%.2f%%";
    else if (g > -100)
        format = "%.1f%%";
    char text[32];
    std::snprintf(text, sizeof text, format, g);
    return text;
}

GainColour GainColourFor(float g)
{
    // Divisions by 30 and 60 are multiplications by these single-precision constants.
    constexpr float Thirtieth = 0.033333335f;
    constexpr float Sixtieth = 0.016666668f;
    if (g < -60)
        return {0.5f, 0, 0};
    if (g < -30)
        return {1 + (g + 30) * Sixtieth, 0, 0};
    if (g < 0)
        return {-g * Thirtieth, 0, (g + 30) * Thirtieth};
    if (g < 30)
        return {0, g * Thirtieth, (30 - g) * Thirtieth};
    if (g < 60)
        return {0, 1 - (g - 30) * Sixtieth, 0};
    return {0, 0.5f, 0};
}

namespace {

// What the gain view showed in its last frame (see gl_surface.h). The text and its colour
// follow from the gain alone, and neither is drawn before the first deal.
struct GainFrame {
    SurfaceStamp surface;
    std::uint32_t fontListBase = 0;
    bool paused = false;
    bool counted = false;
    std::uint32_t gainBits = 0;

    bool operator==(const GainFrame&) const = default;
};

GainFrame lastGainFrame;

GainFrame GainFrameNow()
{
    const GlSurface& surface = appState.gainArea.surface;
    GainFrame frame{StampOf(surface), FontListBaseOf(surface.rc), appState.winEstimatePaused,
                    appState.outcomeCounts.total() > 0, 0};
    if (frame.counted)
        frame.gainBits = std::bit_cast<std::uint32_t>(gainPercent);
    return frame;
}

}  // namespace

void DrawGainIfChanged()
{
    if (GainFrameNow() != lastGainFrame)
        DrawGain(-1);
}

void DrawGain(int opponents)
{
    const OutcomeCounts& counts = appState.outcomeCounts;
    if (opponents >= 0) {
        gainPercent = ComputeGainPercent(counts.wins, counts.ties, counts.losses, opponents);
        gainOpponents = opponents;
    }

    const GlSurface& surface = appState.gainArea.surface;
    if (!BeginFrame(surface))
        return;
    lastGainFrame = GainFrameNow();
    glClearColor(0, 0, 0, 0);
    glClear(GL_DEPTH_BUFFER_BIT);
    if (appState.winEstimatePaused)
        glClearColor(1, 1, 1, 0);  // white while the estimate is paused
    glClear(GL_COLOR_BUFFER_BIT);
    if (counts.total() > 0) {
        const GainColour colour = GainColourFor(gainPercent);
        glColor3f(colour.red, colour.green, colour.blue);
        DrawOutlineText(FormatGain(gainPercent), 0.6f, 1.1f, AlignCenter | AlignMiddle);
    }
    EndFrame(surface);
}
