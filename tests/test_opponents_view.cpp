// The opponents view drawn by Mesa on a headless surface: markers, picking, dragging, level clicks.
#include "opponents/opponents_view.h"
#include "platform/headless/headless.h"
#include "render/gl_surface.h"
#include "tests/support/gl_fixture.h"

#include <gtest/gtest.h>

#include <array>

namespace {

constexpr int ViewWidth = 400, ViewHeight = 200;  // a pixel is 0.05 marker units across, 1/13 up

// The strong 'r'ed, 'g'reen or 'b'lue of a pixel, or '?'.
char Shade(std::uint32_t p)
{
    const int r = RedOf(p), g = GreenOf(p), b = BlueOf(p);
    return r > 150 && g < 100 && b < 100   ? 'r'
           : g > 150 && r < 100 && b < 100 ? 'g'
           : b > 150 && r < 100 && g < 100 ? 'b'
                                           : '?';
}

class OpponentsViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HeadlessReset();
        ResetAppState(appState);
        ASSERT_TRUE(HeadlessGlAvailable()) << "Mesa's surfaceless EGL display is missing";
        view = MakeGlSurface(appState.opponentsArea.surface, ViewWidth, ViewHeight);
        ASSERT_TRUE(LoadCardTexture());
    }
    void TearDown() override { DeleteGlContext(appState.opponentsArea.surface.rc); }
    static int Add(int x, int y, bool playing = true, int aggression = 5, int bluffing = 5)
    {
        appState.roster.append({"Player", bluffing, aggression, playing, x, y});
        return appState.roster.count() - 1;
    }
    static Player& At(int player) { return appState.roster.at(player); }
    // The pixel column and row of a point in marker units (u, v) around a player's centre.
    static int Col(int p, double u) { return PixelColumn(At(p).x / 200.0 - 1 + 0.1 * u, 400); }
    static int Row(int p, double v) { return PixelRow(At(p).y / 100.0 - 1 + 0.13 * v, 200); }
    // The pixels of a shade in a rectangle in marker units around a player (by default its icon).
    int Count(int p, char shade, double left = -1, double right = 1, double bottom = -1,
              double top = 1) const
    {
        int n = 0;
        for (int y = Row(p, top); y <= Row(p, bottom); ++y)
            for (int x = Col(p, left); x <= Col(p, right); ++x)
                n += Shade(HeadlessPixel(view, x, y)) == shade;
        return n;
    }

    Window view = nullptr;
};

}  // namespace

TEST_F(OpponentsViewTest, MarkersShowTheirStateLevelsAndHoverAndPickOnlyTheLowestIcon)
{
    const int busy = Add(100, 140, true, 10, 0), idle = Add(260, 60, false, 0, 10);
    DrawOpponents();
    EXPECT_GT(Count(busy, 'g'), 5);  // a green dollar sign
    EXPECT_GT(Count(idle, 'r'), 5);  // a red cross
    // Right of the icon, a red aggression bar above a blue bluffing bar, each as long as its
    // level: full for busy's aggression and idle's bluffing, empty for busy's bluffing.
    EXPECT_GT(Count(busy, 'r', 1.2, 2.4, -0.5, 0), 20);
    EXPECT_EQ(Count(busy, 'b', 1.2, 2.4, -1, 0), 0);
    EXPECT_GT(Count(idle, 'b', 1.2, 2.4, -1, -0.5), 20);
    const std::uint32_t corner = HeadlessPixel(view, Col(idle, -0.9), Row(idle, 0.9));
    appState.hoverPlayer = idle;  // the hover tints only the hovered icon
    DrawOpponents();
    EXPECT_GT(GreenOf(HeadlessPixel(view, Col(idle, -0.9), Row(idle, 0.9))), GreenOf(corner));
    EXPECT_EQ(HeadlessPixel(view, Col(busy, -0.9), Row(busy, 0.9)), corner);

    // Over a marker drawn on top of an earlier one, the earlier is picked; never its bars, its
    // name or beside it.
    const int over = Add(100, 140);
    EXPECT_EQ(PickPlayer(Col(busy, 0.9), Row(busy, -0.9)), busy);
    for (auto [u, v] : {std::array{1.8, -0.25}, {1.8, 0.5}, {-1.3, 0.0}})
        EXPECT_EQ(PickPlayer(Col(busy, u), Row(busy, v)), -1) << u << ", " << v;

    appState.roster.eraseAt(over);  // a stale hover, drag and menu selection reach nobody
    appState.hoverPlayer = appState.draggedPlayer = appState.selectedPlayer = over;
    DrawOpponents();
    MovePlayer(30, 30, appState.draggedPlayer);
    EXPECT_EQ(std::pair(At(busy).x, At(idle).x), std::pair(100, 260));
    const int inkWithStaleHover = FindInk(view, 0).pixels;  // no icon carries the hover tint
    appState.hoverPlayer = -1;
    DrawOpponents();
    EXPECT_EQ(FindInk(view, 0).pixels, inkWithStaleHover);
}

TEST_F(OpponentsViewTest, LevelClicksCountElevenStepsAndMarkersStayTwelvePixelsInside)
{
    const int left = Add(100, 100), right = Add(300, 60);
    // At row 103 (v = -0.25): u = (x - 100) / 20, from 1.2 (the frame's edge) to 2.4 in
    // elevenths; only a change clears the win estimate.
    appState.outcomeCounts = {7, 8, 9};
    const std::pair<int, int> steps[] = {{134, 5}, {124, 0},  {125, 0},  {126, 1},
                                         {142, 9}, {148, 10}, {143, 10}, {152, 10}};
    for (auto [x, level] : steps) {
        PickPlayerLevel(x, 103);
        EXPECT_EQ(At(left).aggression, level) << x;
        EXPECT_EQ(appState.outcomeCounts.total(), x == 134 ? 24 : 0) << x;
    }
    PickPlayerLevel(126, 110);  // v = -0.77: the lower half sets bluffing
    PickPlayerLevel(335, 150);  // the second player's bluffing frame at u = 1.75
    EXPECT_EQ(std::tuple(At(left).bluffing, At(right).aggression, At(right).bluffing),
              std::tuple(1, 5, 6));

    const int w = ViewWidth - 12, h = ViewHeight - 12;
    for (auto [dx, dy, x, y] :
         {std::array{-100, 0, 12, 100}, {0, -1000, 12, h}, {1000, 1000, w, 12}}) {
        MovePlayer(dx, dy, left);  // y upwards: the mouse going up lifts the marker
        EXPECT_EQ(std::pair(At(left).x, At(left).y), std::pair(x, y)) << dx << ", " << dy;
    }
}
