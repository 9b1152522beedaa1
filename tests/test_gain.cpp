#include "app/state.h"
#include "platform/headless/headless.h"
#include "render/gain.h"
#include "render/gl_surface.h"
#include "render/outline_text.h"
#include "tests/support/gl_fixture.h"

#include <gtest/gtest.h>

#include <cmath>

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
    auto near = [](GainColour c, float r, float g, float b) {
        return std::fabs(c.red - r) < 0.002f && std::fabs(c.green - g) < 0.002f &&
               std::fabs(c.blue - b) < 0.002f;
    };
    EXPECT_TRUE(near(GainColourFor(19.99988f), 0, 0.6667f, 0.3333f));
    EXPECT_TRUE(near(GainColourFor(399.5f), 0, 0.5f, 0));
    EXPECT_TRUE(near(GainColourFor(-100), 0.5f, 0, 0));
    EXPECT_TRUE(near(GainColourFor(-40.006f), 0.8332f, 0, 0));
    EXPECT_TRUE(near(GainColourFor(-0.0001f), 0, 0, 1));
    for (float joint : {-60.0f, -30.0f, 0.0f, 30.0f, 60.0f}) {
        const GainColour at = GainColourFor(joint);
        EXPECT_TRUE(near(GainColourFor(std::nextafter(joint, -1000.0f)), at.red, at.green, at.blue))
            << joint;
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
    const InkBox ink = FindInk(control, Rgb(0, 0, 0));
    ASSERT_FALSE(ink.empty());
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 157 / 2.0, 2.0);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 34 / 2.0, 2.0);
    int solid = 0;  // +20%: no red, green about twice the blue
    for (int y = ink.top; y <= ink.bottom; ++y)
        for (int x = ink.left; x <= ink.right; ++x)
            if (const std::uint32_t p = HeadlessPixel(control, x, y); GreenOf(p) > 150) {
                ++solid;
                EXPECT_EQ(RedOf(p), 0);
                EXPECT_NEAR(GreenOf(p), 170, 3);
                EXPECT_NEAR(BlueOf(p), 85, 3);
            }
    EXPECT_GT(solid, 50);
    appState.winEstimatePaused = true;
    DrawGain(-1);
    EXPECT_EQ(HeadlessPixel(control, 1, 1), Rgb(255, 255, 255));
    const InkBox paused = FindInk(control, Rgb(255, 255, 255));
    EXPECT_EQ(paused.left, ink.left);
    EXPECT_EQ(paused.right, ink.right);
    appState.winEstimatePaused = false;
    appState.outcomeCounts = {};
    DrawGain(-1);
    EXPECT_TRUE(FindInk(control, Rgb(0, 0, 0)).empty());
    EXPECT_NEAR(gainPercent, 19.99988f, 0.001f);
}
