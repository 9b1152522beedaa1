#include "app/result_bars.h"
#include "app/state.h"
#include "platform/headless/headless.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t Black = Rgb(0, 0, 0);
constexpr std::uint32_t White = Rgb(255, 255, 255);
constexpr std::uint32_t Red = Rgb(255, 0, 0);
constexpr std::uint32_t Green = Rgb(0, 255, 0);
constexpr std::uint32_t DarkGreen = Rgb(0, 180, 0);
constexpr std::uint32_t LightGreen = Rgb(120, 255, 150);
constexpr std::uint32_t Blue = Rgb(0, 0, 255);

class ResultBars : public ::testing::Test {
protected:
    void SetUp() override
    {
        HeadlessReset();
        ResetAppState(appState);
        CreateDrawingObjects();
        dialog = CreateModelessDialog(101, nullptr, nullptr);
        appState.mainDialog = dialog;
    }

    // The length of the green part of a bar, read from its middle row.
    int BarLength(int category) const
    {
        Window bar = ControlWindow(dialog, FirstBarControl + category);
        const int h = WindowClientSize(bar).height;
        int len = 0;
        while (HeadlessPixel(bar, len, h / 2) != Black && len < WindowClientSize(bar).width)
            ++len;
        return len;
    }

    Window dialog = nullptr;
};

}  // namespace

TEST(FormatPercent, GainsPrecisionAsTheShareShrinks)
{
    EXPECT_EQ(FormatPercent(0, 0), "0%");
    EXPECT_EQ(FormatPercent(0, 1000), "0%");
    EXPECT_EQ(FormatPercent(5, 0), "0.00000%");
    EXPECT_EQ(FormatPercent(1, 200000), "0.00050%");
    EXPECT_EQ(FormatPercent(1, 40000), "0.0025%");
    EXPECT_EQ(FormatPercent(3, 10000), "0.030%");
    EXPECT_EQ(FormatPercent(1, 400), "0.25%");
    EXPECT_EQ(FormatPercent(1, 40), "2.5%");
    EXPECT_EQ(FormatPercent(1, 3), "33%");
    EXPECT_EQ(FormatPercent(600, 1000), "60%");
    EXPECT_EQ(FormatPercent(1000, 1000), "100%");
    // Counts beyond 32 bits, as a program left open for days accumulates them.
    EXPECT_EQ(FormatPercent(6000000000LL, 10000000000LL), "60%");
    EXPECT_EQ(FormatPercent(1, 10000000000LL), "0.00000%");
}

TEST_F(ResultBars, EmptyCountsDrawBlackBarsAndZeroTexts)
{
    DrawResultBars(dialog);
    for (int i = 0; i < HandTypeCount; ++i) {
        EXPECT_EQ(ControlText(dialog, FirstPercentControl + i), "0%");
        EXPECT_EQ(BarLength(i), 0);
    }
    Window bar = ControlWindow(dialog, FirstBarControl);
    EXPECT_EQ(WindowClientSize(bar).width, 153);  // 102 dialog units
    EXPECT_EQ(WindowClientSize(bar).height, 11);
    EXPECT_EQ(HeadlessPixel(bar, 0, 1), Black);
    EXPECT_EQ(HeadlessPixel(bar, 152, 10), Black);
}

TEST_F(ResultBars, BarsAndTextsFollowTheShares)
{
    auto& counts = appState.handTypeCounts;
    counts[RoyalFlush] = 1;
    counts[StraightFlush] = 400;
    counts[FourOfAKind] = 500;
    counts[OnePair] = 25000;
    counts[HighCard] = 50000 - 25000 - 500 - 400 - 1;
    DrawResultBars(dialog);

    EXPECT_EQ(ControlText(dialog, FirstPercentControl + RoyalFlush), "<<1%");
    EXPECT_EQ(BarLength(RoyalFlush), 2);  // one hit still shows two pixels
    EXPECT_EQ(ControlText(dialog, FirstPercentControl + StraightFlush), "<1%");
    EXPECT_EQ(ControlText(dialog, FirstPercentControl + FourOfAKind), "1.0%");
    EXPECT_EQ(ControlText(dialog, FirstPercentControl + OnePair), "50%");
    EXPECT_EQ(BarLength(OnePair), 25000 * 153 / 50000);
    EXPECT_EQ(ControlText(dialog, FirstPercentControl + Flush), "0%");
    EXPECT_EQ(BarLength(Flush), 0);

    // The bevel of a bar: dark green edge, green band, light green core.
    Window bar = ControlWindow(dialog, FirstBarControl + OnePair);
    EXPECT_EQ(HeadlessPixel(bar, 10, 1), DarkGreen);
    EXPECT_EQ(HeadlessPixel(bar, 10, 10), DarkGreen);
    EXPECT_EQ(HeadlessPixel(bar, 10, 2), Green);
    EXPECT_EQ(HeadlessPixel(bar, 10, 4), Green);
    EXPECT_EQ(HeadlessPixel(bar, 10, 5), LightGreen);
    EXPECT_EQ(HeadlessPixel(bar, 10, 6), LightGreen);
    EXPECT_EQ(HeadlessPixel(bar, 10, 7), Green);
    EXPECT_EQ(HeadlessPixel(bar, 100, 5), Black);
}

TEST_F(ResultBars, LegendsShowPlusEqualsAndMinus)
{
    DrawOutcomeLegends(dialog);
    Window win = ControlWindow(dialog, WinLegendControl);
    Window tie = ControlWindow(dialog, TieLegendControl);
    Window loss = ControlWindow(dialog, LossLegendControl);
    const ClientSize size = WindowClientSize(win);
    const int mid = size.height / 2, half = size.width / 2;

    EXPECT_EQ(HeadlessPixel(win, half, mid), Green);     // the crossing of the plus
    EXPECT_EQ(HeadlessPixel(win, half, 3), Green);       // its vertical stroke
    EXPECT_EQ(HeadlessPixel(win, 3, 3), White);          // background
    EXPECT_EQ(HeadlessPixel(tie, half, mid - 3), Blue);  // upper stroke of the equals sign
    EXPECT_EQ(HeadlessPixel(tie, half, mid + 2), Blue);  // lower stroke
    EXPECT_EQ(HeadlessPixel(tie, half, mid), White);     // the gap between
    EXPECT_EQ(HeadlessPixel(loss, half, mid), Red);
    EXPECT_EQ(HeadlessPixel(loss, half, 3), White);
}

TEST_F(ResultBars, ActivityMarkerMovesWithTheDealsAndWraps)
{
    Window host = HeadlessCreateWindow(nullptr, 400, 100);
    Window strip = HeadlessAddControl(host, ActivityStripControl, 0, 0, 160, 5);

    DrawActivityStrip(host);
    for (int x = 1; x < 160; ++x)
        ASSERT_EQ(HeadlessPixel(strip, x, 2), Black) << x;  // no deals yet: no marker

    appState.outcomeCounts = {12345, 0, 0};  // pos = 123
    DrawActivityStrip(host);
    EXPECT_EQ(HeadlessPixel(strip, 115, 2), Black);
    EXPECT_EQ(HeadlessPixel(strip, 116, 2), Red);
    EXPECT_EQ(HeadlessPixel(strip, 129, 2), Red);
    EXPECT_EQ(HeadlessPixel(strip, 130, 2), Black);

    appState.outcomeCounts = {10000, 3000, 3000};  // 16000 deals: back at the left end
    DrawActivityStrip(host);
    EXPECT_EQ(HeadlessPixel(strip, 1, 2), Red);
    EXPECT_EQ(HeadlessPixel(strip, 6, 2), Red);
    EXPECT_EQ(HeadlessPixel(strip, 7, 2), Black);

    appState.winEstimatePaused = true;  // paused: plain black
    DrawActivityStrip(host);
    EXPECT_EQ(HeadlessPixel(strip, 3, 2), Black);

    // Counters far beyond 32 bits still place the marker.
    appState.winEstimatePaused = false;
    appState.outcomeCounts = {5000012345LL, 0, 0};
    DrawActivityStrip(host);
    const int pos = static_cast<int>((5000012345LL / 100) % 160);  // 123
    EXPECT_EQ(HeadlessPixel(strip, pos, 2), Red);
}
