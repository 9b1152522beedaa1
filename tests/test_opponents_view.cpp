// The opponents view drawn by Mesa on a headless surface: markers, picking, dragging, level clicks.
#include "opponents/opponents_view.h"
#include "platform/headless/headless.h"
#include "render/gl_surface.h"
#include "render/outline_text.h"
#include "tests/support/gl_fixture.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <string>

namespace {

constexpr int ViewWidth = 400, ViewHeight = 200;  // a pixel is 0.05 marker units across, 1/13 up

// 'w'hite, strong 'r'ed, 'g'reen or 'b'lue, or '?'.
char Shade(std::uint32_t p)
{
    const int r = RedOf(p), g = GreenOf(p), b = BlueOf(p);
    return r > 200 && g > 200 && b > 200   ? 'w'
           : r > 150 && g < 100 && b < 100 ? 'r'
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
        GlSurface& surface = appState.opponentsArea.surface;
        view = MakeGlSurface(surface, ViewWidth, ViewHeight);
        fonts = SetupOutlineFont(surface.dc, surface.rc, 24);
        ASSERT_TRUE(LoadCardTexture());
    }
    void TearDown() override { DeleteGlContext(appState.opponentsArea.surface.rc); }
    static int Add(int x, int y, bool playing = true, int aggression = 5, int bluffing = 5,
                   std::string name = "")
    {
        appState.roster.append({std::move(name), bluffing, aggression, playing, x, y});
        return appState.roster.count() - 1;
    }
    static Player& At(int player) { return appState.roster.at(player); }
    // The pixel column and row of a point in marker units (u, v) around a player's centre.
    static int Col(int p, double u) { return PixelColumn(At(p).x / 200.0 - 1 + 0.1 * u, 400); }
    static int Row(int p, double v) { return PixelRow(At(p).y / 100.0 - 1 + 0.13 * v, 200); }
    // How many pixels of a rectangle in marker units around a player have the shade.
    int Count(int p, double left, double right, double bottom, double top, char shade) const
    {
        int n = 0;
        for (int y = Row(p, top); y <= Row(p, bottom); ++y)
            for (int x = Col(p, left); x <= Col(p, right); ++x)
                n += Shade(HeadlessPixel(view, x, y)) == shade;
        return n;
    }
    int IconCount(int p, char shade) const { return Count(p, -1, 1, -1, 1, shade); }

    Window view = nullptr;
    bool fonts = false;
};

}  // namespace

TEST_F(OpponentsViewTest, AnEmptyRosterShowsBlackAndPicksNobody)
{
    DrawOpponents();
    EXPECT_TRUE(FindInk(view, 0).empty());
    appState.outcomeCounts = {4, 5, 6};
    for (int x = -10; x <= ViewWidth + 10; x += 30)
        for (int y = -10; y <= ViewHeight + 10; y += 30) {
            EXPECT_EQ(PickPlayer(x, y), -1) << x << ", " << y;
            PickPlayerLevel(x, y);
        }
    EXPECT_EQ(appState.outcomeCounts.total(), 15);
    EXPECT_EQ(CurrentGlContext(), nullptr);
}

TEST_F(OpponentsViewTest, MarkersShowPlayingIdleLevelsNamesAndTheHoverTint)
{
    const int busy = Add(100, 140, true, 10, 0, "Player 1"), idle = Add(260, 60, false, 0, 10);
    DrawOpponents();
    EXPECT_GT(IconCount(busy, 'g'), 5);  // a green dollar sign
    EXPECT_EQ(IconCount(busy, 'r'), 0);
    EXPECT_GT(IconCount(idle, 'r'), 5);  // a red cross
    EXPECT_EQ(IconCount(idle, 'g'), 0);
    // Right of the icon, a red aggression bar above a blue bluffing bar, each as long as its
    // level, in a white frame.
    for (int p : {busy, idle}) {
        const int full = p == busy ? 'r' : 'b', empty = p == busy ? 'b' : 'r';
        EXPECT_GT(Count(p, 1.2, 2.4, -1, 0, full), 40) << p;
        EXPECT_EQ(Count(p, 1.2, 2.4, -1, 0, empty), 0) << p;
        EXPECT_GT(Count(p, 1.2, 2.6, -1, 0, 'w'), 8) << p;
    }
    EXPECT_LT(Row(busy, 0), Row(busy, -1));
    EXPECT_GT(Count(busy, 1.2, 2.4, -0.5, 0, 'r'), Count(busy, 1.2, 2.4, -1, -0.5, 'r'));
    EXPECT_GT(Count(idle, 1.2, 2.4, -1, -0.5, 'b'), Count(idle, 1.2, 2.4, -0.5, 0, 'b'));
    if (fonts) {  // the name starts over the icon's right edge, above the bars
        EXPECT_GT(Count(busy, 1.05, 4, 0.35, 1.2, 'w'), 10);
        EXPECT_EQ(Count(idle, 1.05, 4, 0.35, 1.2, 'w'), 0);
        EXPECT_EQ(Count(busy, -3, -1.05, -1, 1.2, 'w'), 0);
    }
    EXPECT_EQ(CurrentGlContext(), nullptr);

    const int plain = FindInk(view, 0).pixels;  // the hover tints only the hovered icon
    const std::uint32_t corner = HeadlessPixel(view, Col(idle, -0.9), Row(idle, 0.9));
    appState.hoverPlayer = idle;
    DrawOpponents();
    EXPECT_GT(GreenOf(HeadlessPixel(view, Col(idle, -0.9), Row(idle, 0.9))), GreenOf(corner));
    EXPECT_EQ(HeadlessPixel(view, Col(busy, -0.9), Row(busy, 0.9)), corner);
    EXPECT_GT(FindInk(view, 0).pixels, plain);
}

TEST_F(OpponentsViewTest, OverlappingMarkersPickTheLowestIndexWhileTheHighestIsOnTop)
{
    Add(200, 100, true);
    Add(200, 100, false);
    DrawOpponents();
    EXPECT_GT(IconCount(1, 'r'), 5);  // the later, idle face covers the earlier
    EXPECT_EQ(IconCount(1, 'g'), 0);
    EXPECT_EQ(PickPlayer(200, 100), 0);
    EXPECT_EQ(PickPlayer(Col(0, 0.9), Row(0, -0.9)), 0);
    for (auto [u, v] : {std::array{1.8, -0.25}, {1.8, 0.5}, {-1.3, 0.0}})  // bars, name, beside
        EXPECT_EQ(PickPlayer(Col(0, u), Row(0, v)), -1) << u << ", " << v;
    EXPECT_EQ(CurrentGlContext(), nullptr);
}

TEST_F(OpponentsViewTest, DraggedMarkersStayTwelvePixelsInside)
{
    const int p = Add(30, 100);
    const int w = ViewWidth - 12, h = ViewHeight - 12;
    for (auto [dx, dy, x, y] : {std::array{-100, 0, 12, 100},
                                {5, 0, 17, 100},
                                {0, -10, 17, 110},
                                {0, -1000, 17, h},
                                {1000, 1000, w, 12},
                                {INT_MAX, INT_MIN, w, h}}) {
        MovePlayer(dx, dy, p);  // at once, y upwards: the mouse going up lifts the marker
        EXPECT_EQ(std::pair(At(p).x, At(p).y), std::pair(x, y)) << dx << ", " << dy;
    }
    appState.opponentsArea.surface.width = 20;  // narrower than 24 pixels: the far edge wins
    MovePlayer(-5, 0, p);
    EXPECT_EQ(At(p).x, 8);
}

TEST_F(OpponentsViewTest, LevelClicksCountElevenStepsFromTheFrameEdgeAndOnlyChangesClear)
{
    const int left = Add(100, 100), right = Add(300, 60);  // left: u = (x - 100) / 20
    DrawOpponents();
    At(left).playing = false;  // shows only when the view is drawn again
    appState.outcomeCounts = {7, 8, 9};
    appState.handTypeCounts[2] = 11;
    PickPlayerLevel(134, 103);  // u = 1.7: level 5, as before
    EXPECT_EQ(appState.outcomeCounts.total(), 24);
    EXPECT_GT(IconCount(left, 'g'), 5) << "redrawn although nothing changed";
    // At row 103 (v = -0.25): from u = 1.2 (the frame's edge) to 2.4, elevenths of 1.2.
    for (auto [x, level] :
         {std::array{124, 0}, {125, 0}, {126, 1}, {142, 9}, {148, 10}, {143, 10}}) {
        PickPlayerLevel(x, 103);
        EXPECT_EQ(At(left).aggression, level) << x;
    }
    EXPECT_EQ(appState.outcomeCounts.total(), 0);
    EXPECT_EQ(appState.handTypeCounts[2], 11);
    EXPECT_GT(IconCount(left, 'r'), 5) << "not redrawn after the change";
    PickPlayerLevel(126, 110);  // v = -0.77: the lower half sets bluffing
    PickPlayerLevel(335, 150);  // the second player's bluffing frame at u = 1.75
    PickPlayerLevel(152, 103);  // beyond the frame
    PickPlayerLevel(100, 100);  // on the icon
    EXPECT_EQ(std::tuple(At(left).aggression, At(left).bluffing), std::tuple(10, 1));
    EXPECT_EQ(std::tuple(At(right).aggression, At(right).bluffing), std::tuple(5, 6));
    EXPECT_EQ(CurrentGlContext(), nullptr);
}

TEST_F(OpponentsViewTest, IndexesBeyondTheRosterAreNeverUsed)
{
    Add(100, 100);
    Add(300, 100);
    Add(200, 60);
    appState.roster.eraseAt(2);
    appState.hoverPlayer = appState.draggedPlayer = appState.selectedPlayer = 2;
    DrawOpponents();
    MovePlayer(30, 30, appState.draggedPlayer);
    MovePlayer(30, 30, -1);
    EXPECT_EQ(std::pair(At(0).x, At(1).x), std::pair(100, 300));
    EXPECT_EQ(At(1).y, 100);
    EXPECT_EQ(PickPlayer(200, 140), -1);  // where the erased marker stood
    EXPECT_EQ(PickPlayer(300, 100), 1);
    const int inkWithStaleHover = FindInk(view, 0).pixels;  // no icon carries the hover tint
    appState.hoverPlayer = -1;
    DrawOpponents();
    EXPECT_EQ(FindInk(view, 0).pixels, inkWithStaleHover);
}
