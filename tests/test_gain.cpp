#include "app/state.h"
#include "platform/headless/headless.h"
#include "render/gain.h"
#include "render/gl_surface.h"
#include "render/outline_text.h"
#include "tests/support/gl_fixture.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(GainFigure, FollowsTheShareOfThePotAndItsFormats)
{
    struct Case {
        std::int64_t wins, ties, losses;
        int opponents;
        const char* text;
    };
    const Case cases[] = {
        {600, 0, 400, 1, "+20.0%"},    // 19.99988
        {250, 100, 650, 3, "+20.0%"},  // ties count half
        {500, 0, 0, 1, "+100.0%"},     // 99.9996 stays below 100
        {1, 0, 0, 4, "+400%"},        {1000, 0, 0, 0, "-0.00%"}, {0, 0, 10, 1, "-100%"},
        {3, 0, 7, 1, "-40.0%"},       {0, 0, 0, 0, "-100%"},  // no deals yet: -100, though nothing
                                                              // is shown then
    };
    for (const Case& c : cases) {
        const float g = ComputeGainPercent(c.wins, c.ties, c.losses, c.opponents);
        EXPECT_EQ(FormatGain(g), c.text) << c.wins << " " << c.ties << " " << c.losses;
    }
    EXPECT_EQ(FormatGain(0.0f), "0.00%");
    EXPECT_EQ(FormatGain(10.0f), "+10.0%");
    EXPECT_EQ(FormatGain(100.0f), "+100%");
    EXPECT_EQ(FormatGain(-10.0f), "-10.0%");
    EXPECT_EQ(FormatGain(5e9f), "+5000000000%");  // no overflow of the text
}

TEST(GainFigure, ColourRampRunsFromDarkRedThroughBlueToDarkGreen)
{
    auto near = [](GainColour c, float r, float g, float b) {
        return std::fabs(c.red - r) < 0.002f && std::fabs(c.green - g) < 0.002f &&
               std::fabs(c.blue - b) < 0.002f;
    };
    EXPECT_TRUE(near(GainColourFor(19.99988f), 0, 0.6667f, 0.3333f));
    EXPECT_TRUE(near(GainColourFor(399.5f), 0, 0.5f, 0));
    EXPECT_TRUE(near(GainColourFor(-100), 0.5f, 0, 0));
    EXPECT_TRUE(near(GainColourFor(-40.006f), 0.8332f, 0, 0));
    EXPECT_TRUE(near(GainColourFor(0), 0, 0, 1));
    EXPECT_TRUE(near(GainColourFor(-0.0001f), 0, 0, 1));
    // Every joint meets its neighbour.
    for (float joint : {-60.0f, -30.0f, 0.0f, 30.0f, 60.0f}) {
        const GainColour below = GainColourFor(std::nextafter(joint, -1000.0f));
        const GainColour at = GainColourFor(joint);
        EXPECT_TRUE(near(below, at.red, at.green, at.blue)) << joint;
    }
}

namespace {

class GainView : public ::testing::Test {
protected:
    void SetUp() override
    {
        HeadlessReset();
        ResetAppState(appState);
        ASSERT_TRUE(HeadlessGlAvailable());
        control = MakeGlSurface(appState.gainArea.surface, 157, 34);
        ASSERT_TRUE(
            SetupOutlineFont(appState.gainArea.surface.dc, appState.gainArea.surface.rc, 24));
    }
    Window control = nullptr;
};

}  // namespace

TEST_F(GainView, ShowsTheGainCentredInTheColourOfItsValue)
{
    appState.outcomeCounts = {600, 0, 400};
    DrawGain(1);
    const InkBox ink = FindInk(control, Rgb(0, 0, 0));
    ASSERT_FALSE(ink.empty());
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 157 / 2.0, 2.0);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 34 / 2.0, 2.0);
    // The text is in the ramp's colour for +20%: no red, green about twice the blue.
    int solid = 0;
    for (int y = ink.top; y <= ink.bottom; ++y)
        for (int x = ink.left; x <= ink.right; ++x) {
            const std::uint32_t p = HeadlessPixel(control, x, y);
            if (GreenOf(p) > 150) {
                ++solid;
                EXPECT_EQ(RedOf(p), 0);
                EXPECT_NEAR(GreenOf(p), 170, 3);
                EXPECT_NEAR(BlueOf(p), 85, 3);
            }
        }
    EXPECT_GT(solid, 50);
}

TEST_F(GainView, PausedShowsTheSameNumberOnWhiteAndNoDealsShowNothing)
{
    appState.outcomeCounts = {600, 0, 400};
    DrawGain(1);
    const InkBox running = FindInk(control, Rgb(0, 0, 0));
    appState.winEstimatePaused = true;
    DrawGain(-1);  // keeps the computed gain
    EXPECT_EQ(HeadlessPixel(control, 1, 1), Rgb(255, 255, 255));
    const InkBox paused = FindInk(control, Rgb(255, 255, 255));
    EXPECT_EQ(paused.left, running.left);
    EXPECT_EQ(paused.right, running.right);

    appState.winEstimatePaused = false;
    appState.outcomeCounts = {};
    DrawGain(-1);  // counters cleared by a card change: the background only
    EXPECT_TRUE(FindInk(control, Rgb(0, 0, 0)).empty());
    EXPECT_NEAR(gainPercent, 19.99988f, 0.001f);  // still the old value
}
