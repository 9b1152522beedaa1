// The results on screen: percentages, the final-hand bars, the outcome legends, the activity
// strip, and the gain figure and display.
#include "app/result_bars.h"
#include "app/state.h"
#include "platform/headless/headless.h"
#include "render/gain.h"
#include "render/gl_surface.h"
#include "render/outline_text.h"
#include "tests/support/gl_fixture.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(FormatPercent, GainsADigitAtEachPowerOfTenBelowTen)
{
    // (count, n, text) for count out of 10^n: exactly on each boundary the shorter format, just
    // below it the longer one.
    const std::tuple<std::int64_t, int, const char*> cases[] = {
        {1, 1, "10%"},     {99999, 6, "10.0%"},   {1, 2, "1.0%"},     {99999, 7, "1.00%"},
        {1, 3, "0.10%"},   {9999, 7, "0.100%"},   {1, 4, "0.010%"},   {9999, 8, "0.0100%"},
        {1, 5, "0.0010%"}, {9999, 9, "0.00100%"}, {1, 10, "0.00000%"}};
    for (const auto& [count, n, text] : cases)
        EXPECT_EQ(FormatPercent(count, static_cast<std::int64_t>(std::pow(10, n))), text) << n;
    EXPECT_EQ(FormatPercent(5, 0), "0.00000%");  // no total yet
    EXPECT_EQ(FormatPercent(6000000000LL, 10000000000LL), "60%");
}

TEST(ResultBars, BarsTextsLegendsAndTheActivityMarkerFollowTheCounts)
{
    HeadlessReset();
    ResetAppState(appState);
    CreateDrawingObjects();
    const Window dialog = appState.mainDialog = CreateModelessDialog(101, nullptr, nullptr);
    appState.handTypeCounts = {24099, 25000, 0, 0, 0, 0, 0, 500, 400, 1};  // high card .. royal
    DrawResultBars(dialog);
    const std::tuple<int, const char*> texts[] = {
        {RoyalFlush, "<<1%"}, {StraightFlush, "<1%"}, {FourOfAKind, "1.0%"}, {OnePair, "50%"}};
    for (const auto& [category, text] : texts)
        EXPECT_EQ(ControlText(dialog, FirstPercentControl + category), text) << category;
    const int width = WindowClientSize(ControlWindow(dialog, FirstBarControl)).width;
    auto length = [&](int category) {  // of the coloured part, along the middle row
        const Window bar = ControlWindow(dialog, FirstBarControl + category);
        int n = 0;
        while (n < width && HeadlessPixel(bar, n, WindowClientSize(bar).height / 2) != 0u)
            ++n;
        return n;
    };
    EXPECT_EQ(std::tuple(length(RoyalFlush), length(OnePair), length(Flush)),
              std::tuple(2, width / 2, 0));  // one hit still shows two pixels
    // The legends: a green plus, a blue equals sign and a red minus (strokes down, ink across).
    DrawOutcomeLegends(dialog);
    const std::tuple<int, std::uint32_t, int, bool> legends[] = {
        {WinLegendControl, Rgb(0, 255, 0), 1, true},
        {TieLegendControl, Rgb(0, 0, 255), 2, false},
        {LossLegendControl, Rgb(255, 0, 0), 1, true}};
    for (const auto& [id, colour, down, across] : legends) {
        const Window legend = ControlWindow(dialog, id);
        const int w = WindowClientSize(legend).width, h = WindowClientSize(legend).height;
        int runs = 0, wide = 0;
        for (int y = 0; y < h; ++y)
            runs += HeadlessPixel(legend, w / 2, y) == colour &&
                    (y == 0 || HeadlessPixel(legend, w / 2, y - 1) != colour);
        for (int x = 0; x < w; ++x)
            wide += HeadlessPixel(legend, x, h / 2) == colour;
        EXPECT_EQ(std::pair(runs, wide > w / 3), std::pair(down, across)) << id;
    }
    // The activity strip's marker: a hundred deals a column, wrapping at the strip's end (beyond
    // 32 bits too); none without deals or while paused.
    const Window strip = ControlWindow(dialog, ActivityStripControl);
    const ClientSize size = WindowClientSize(strip);
    auto marker = [&] {  // the centre of the red columns of the middle row, or -1
        DrawActivityStrip(dialog);
        int first = -1, last = -1;
        for (int x = 0; x < size.width; ++x)
            if (HeadlessPixel(strip, x, size.height / 2) == Rgb(255, 0, 0))
                first = first < 0 ? x : first, last = x;
        return (first + last) / 2;
    };
    EXPECT_EQ(marker(), -1);
    appState.outcomeCounts = {12345, 0, 0};
    EXPECT_NEAR(marker(), 123, 1);
    appState.outcomeCounts = {12345 + 100LL * size.width * 50000000, 0, 0};
    EXPECT_NEAR(marker(), 123, 1);
    appState.winEstimatePaused = true;
    EXPECT_EQ(marker(), -1);
}

TEST(GainFigure, FormatsAndColourRampFollowTheShareOfThePot)
{
    // Both sides of each change of precision.
    const std::pair<float, const char*> cases[] = {
        {5e9f, "+5000000000%"}, {100, "+100%"},      {99.94f, "+99.9%"}, {10, "+10.0%"},
        {9.994f, "+9.99%"},     {0.004f, "+0.00%"},  {0, "0.00%"},       {-9.994f, "-9.99%"},
        {-10, "-10.0%"},        {-99.94f, "-99.9%"}, {-100, "-100%"}};
    for (const auto& [gain, text] : cases)
        EXPECT_EQ(FormatGain(gain), text) << gain;
    EXPECT_NEAR(ComputeGainPercent(250, 100, 650, 3), 20.0f, 0.01f);  // a tie is half a win
    // Green for gains, red for losses, blue at break-even.
    const GainColour win = GainColourFor(200), loss = GainColourFor(-50), even = GainColourFor(0);
    EXPECT_TRUE(win.green > win.red && win.green > win.blue);
    EXPECT_TRUE(loss.red > loss.green && loss.red > loss.blue);
    EXPECT_TRUE(even.blue > even.red && even.blue > even.green);
}

TEST(GainView, CentredAndEmptyWithoutDeals)
{
    HeadlessReset();
    ResetAppState(appState);
    GlSurface& surface = appState.gainArea.surface;
    const Window control = MakeGlSurface(surface, 157, 34);
    ASSERT_TRUE(SetupOutlineFont(surface.dc, surface.rc, 24));
    appState.outcomeCounts = {600, 0, 400};
    DrawGain(1);
    const InkBox ink = FindInk(control, 0u);
    EXPECT_NEAR(ink.left + ink.right, 157 - 1, 4);
    // The figure in the ramp's colour, on white while the estimate is paused.
    auto showsRampColour = [&] {
        const GainColour c = GainColourFor(gainPercent);
        const float want[3] = {c.red * 255, c.green * 255, c.blue * 255};
        for (int i = 0; i < 157 * 34; ++i) {
            const std::uint32_t p = HeadlessPixel(control, i % 157, i / 157);
            int k = 0;
            while (k < 3 && std::fabs(float((p >> (16 - 8 * k)) & 255u) - want[k]) < 2.5f)
                ++k;
            if (k == 3)
                return true;
        }
        return false;
    };
    EXPECT_TRUE(showsRampColour());
    appState.winEstimatePaused = true;
    DrawGain(-1);
    EXPECT_EQ(HeadlessPixel(control, 0, 0), 0xFFFFFFu);
    EXPECT_TRUE(showsRampColour());
    appState.winEstimatePaused = false;
    appState.outcomeCounts = {};
    DrawGain(-1);
    EXPECT_TRUE(FindInk(control, 0u).empty());
}
