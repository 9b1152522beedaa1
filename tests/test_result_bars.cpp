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

namespace {

constexpr std::uint32_t Black = Rgb(0, 0, 0), White = Rgb(255, 255, 255);

class ResultBars : public ::testing::Test {
protected:
    void SetUp() override
    {
        HeadlessReset();
        ResetAppState(appState);
        CreateDrawingObjects();
        appState.mainDialog = dialog = CreateModelessDialog(101, nullptr, nullptr);
    }
    // The length of the coloured part of a bar, read from its middle row.
    int BarLength(int category) const
    {
        Window bar = ControlWindow(dialog, FirstBarControl + category);
        const ClientSize size = WindowClientSize(bar);
        int len = 0;
        while (len < size.width && HeadlessPixel(bar, len, size.height / 2) != Black)
            ++len;
        return len;
    }
    Window dialog = nullptr;
};

}  // namespace

TEST(FormatPercent, GainsADigitAtEachPowerOfTenBelowTen)
{
    const std::tuple<std::int64_t, std::int64_t, const char*> cases[] = {
        {0, 0, "0%"},
        {0, 1000, "0%"},
        {5, 0, "0.00000%"},
        {1, 3, "33%"},
        {1000, 1000, "100%"},
        {6000000000LL, 10000000000LL, "60%"},
        // Exactly on each boundary the shorter format; just below it the longer one.
        {1, 10, "10%"},
        {99999, 1000000, "10.0%"},
        {1, 100, "1.0%"},
        {99999, 10000000, "1.00%"},
        {1, 1000, "0.10%"},
        {9999, 10000000, "0.100%"},
        {1, 10000, "0.010%"},
        {9999, 100000000, "0.0100%"},
        {1, 100000, "0.0010%"},
        {9999, 1000000000, "0.00100%"},
        {1, 10000000000LL, "0.00000%"},
    };
    for (const auto& [count, total, text] : cases)
        EXPECT_EQ(FormatPercent(count, total), text) << count << " / " << total;
}

TEST_F(ResultBars, BarsAndTextsFollowTheShares)
{
    DrawResultBars(dialog);
    for (int i = 0; i < HandTypeCount; ++i) {
        EXPECT_EQ(ControlText(dialog, FirstPercentControl + i), "0%");
        EXPECT_EQ(BarLength(i), 0);
    }
    auto& counts = appState.handTypeCounts;
    counts[RoyalFlush] = 1;
    counts[StraightFlush] = 400;
    counts[FourOfAKind] = 500;
    counts[OnePair] = 25000;
    counts[HighCard] = 50000 - 25000 - 500 - 400 - 1;
    DrawResultBars(dialog);
    const std::tuple<int, const char*> texts[] = {{RoyalFlush, "<<1%"},
                                                  {StraightFlush, "<1%"},
                                                  {FourOfAKind, "1.0%"},
                                                  {OnePair, "50%"},
                                                  {Flush, "0%"}};
    for (const auto& [category, text] : texts)
        EXPECT_EQ(ControlText(dialog, FirstPercentControl + category), text) << category;
    const int width = WindowClientSize(ControlWindow(dialog, FirstBarControl)).width;
    EXPECT_EQ(BarLength(RoyalFlush), 2);  // one hit still shows two pixels
    EXPECT_EQ(BarLength(OnePair), width / 2);
    EXPECT_EQ(BarLength(Flush), 0);
    const std::uint32_t p = HeadlessPixel(ControlWindow(dialog, FirstBarControl + OnePair), 10, 5);
    EXPECT_GT(GreenOf(p), std::max(RedOf(p), BlueOf(p)));
}

TEST_F(ResultBars, LegendsShowPlusEqualsAndMinusInGreenBlueAndRed)
{
    DrawOutcomeLegends(dialog);
    const std::tuple<int, std::uint32_t, int> legends[] = {
        {WinLegendControl, Rgb(0, 255, 0), 2},  // colour, and strokes down the middle column
        {TieLegendControl, Rgb(0, 0, 255), 2},
        {LossLegendControl, Rgb(255, 0, 0), 1}};
    for (const auto& [id, colour, strokes] : legends) {
        Window legend = ControlWindow(dialog, id);
        const ClientSize size = WindowClientSize(legend);
        int runs = 0, across = 0;
        for (int y = 0; y < size.height; ++y) {
            const bool on = HeadlessPixel(legend, size.width / 2, y) == colour;
            runs += on && (y == 0 || HeadlessPixel(legend, size.width / 2, y - 1) != colour);
        }
        for (int x = 0; x < size.width; ++x)
            across += HeadlessPixel(legend, x, size.height / 2) == colour;
        EXPECT_EQ(runs, id == WinLegendControl ? 1 : strokes) << id;  // the plus: one stroke
        EXPECT_EQ(across > size.width / 3, id != TieLegendControl) << id;
        EXPECT_EQ(HeadlessPixel(legend, 1, 1), White) << id;
    }
}

TEST_F(ResultBars, ActivityMarkerMovesWithTheDealsAndWrapsAndStopsWhilePaused)
{
    Window host = HeadlessCreateWindow(nullptr, 400, 100);
    Window strip = HeadlessAddControl(host, ActivityStripControl, 0, 0, 160, 5);
    auto red = [&] {  // the red columns of the middle row, as first and last
        std::pair<int, int> r{-1, -1};
        DrawActivityStrip(host);
        for (int x = 0; x < 160; ++x)
            if (HeadlessPixel(strip, x, 2) == Rgb(255, 0, 0))
                r = {r.first < 0 ? x : r.first, x};
        return r;
    };
    EXPECT_EQ(red(), std::pair(-1, -1));     // no deals yet: no marker
    appState.outcomeCounts = {12345, 0, 0};  // a hundred deals a column: 123
    EXPECT_EQ(red(), std::pair(116, 129));
    appState.outcomeCounts = {10000, 3000, 3000};  // 16000 deals: back at the left end
    EXPECT_EQ(red(), std::pair(1, 6));
    appState.outcomeCounts = {5000012345LL, 0, 0};  // far beyond 32 bits
    EXPECT_EQ(red(), std::pair(116, 129));
    appState.winEstimatePaused = true;
    EXPECT_EQ(red(), std::pair(-1, -1));
}

TEST(GainFigure, FormatsAndColourRampFollowTheShareOfThePot)
{
    struct Case {
        std::int64_t wins, ties, losses;
        int opponents;
        const char* text;
    };
    const Case cases[] = {
        {600, 0, 400, 1, "+20.0%"}, {250, 100, 650, 3, "+20.0%"}, {500, 0, 0, 1, "+100.0%"},
        {1, 0, 0, 4, "+400%"},      {1000, 0, 0, 0, "-0.00%"},    {0, 0, 10, 1, "-100%"},
        {3, 0, 7, 1, "-40.0%"},     {0, 0, 0, 0, "-100%"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatGain(ComputeGainPercent(c.wins, c.ties, c.losses, c.opponents)), c.text)
            << c.wins << " " << c.ties << " " << c.losses;
    for (auto [gain, text] : {std::pair{0.0f, "0.00%"}, {100.0f, "+100%"}, {5e9f, "+5000000000%"}})
        EXPECT_EQ(FormatGain(gain), text);
    // Green for gains, red for losses, blue at break-even; no jumps along the ramp.
    const GainColour win = GainColourFor(200), loss = GainColourFor(-50), even = GainColourFor(0);
    EXPECT_TRUE(win.green > win.red && win.green > win.blue);
    EXPECT_TRUE(loss.red > loss.green && loss.red > loss.blue);
    EXPECT_TRUE(even.blue > even.red && even.blue > even.green);
    for (float g = -150; g < 450; g += 0.25f) {
        const GainColour a = GainColourFor(g), b = GainColourFor(std::nextafter(g, -1000.0f));
        EXPECT_LT(std::fabs(a.red - b.red) + std::fabs(a.green - b.green) +
                      std::fabs(a.blue - b.blue),
                  0.01f)
            << g;
    }
}

TEST(GainView, CentredInTheRampColourWhiteWhilePausedAndEmptyWithoutDeals)
{
    HeadlessReset();
    ResetAppState(appState);
    ASSERT_TRUE(HeadlessGlAvailable());
    GlSurface& surface = appState.gainArea.surface;
    const Window control = MakeGlSurface(surface, 157, 34);
    ASSERT_TRUE(SetupOutlineFont(surface.dc, surface.rc, 24));
    appState.outcomeCounts = {600, 0, 400};
    DrawGain(1);
    const InkBox ink = FindInk(control, Black);
    ASSERT_FALSE(ink.empty());
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 157 / 2.0, 2.0);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 34 / 2.0, 2.0);
    const GainColour c = GainColourFor(gainPercent);
    auto channel = [](float f) { return static_cast<int>(std::lround(f * 255)); };
    const std::uint32_t colour = Rgb(channel(c.red), channel(c.green), channel(c.blue));
    int solid = 0;
    for (int y = ink.top; y <= ink.bottom; ++y)
        for (int x = ink.left; x <= ink.right; ++x)
            if (const std::uint32_t p = HeadlessPixel(control, x, y); GreenOf(p) > 150) {
                ++solid;
                EXPECT_LE(ColourDistance(p, colour), 6);
            }
    EXPECT_GT(solid, 50);
    appState.winEstimatePaused = true;
    DrawGain(-1);
    const InkBox paused = FindInk(control, White);
    EXPECT_EQ(std::pair(paused.left, paused.right), std::pair(ink.left, ink.right));
    appState.winEstimatePaused = false;
    appState.outcomeCounts = {};
    DrawGain(-1);
    EXPECT_TRUE(FindInk(control, Black).empty());
    EXPECT_NEAR(gainPercent, 19.99988f, 0.001f);
}
