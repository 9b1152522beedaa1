// The opponents view on a headless surface with real Mesa rendering: markers with their icons,
// names and level bars, picking under overlapping markers, dragging limits, level clicks, and
// indexes of players that are gone.
#include "opponents/opponents_view.h"
#include "platform/headless/headless.h"
#include "render/gl_surface.h"
#include "render/outline_text.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/picture_dump.h"
#include "tests/support/view_pixels.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

namespace {

constexpr int ViewWidth = 400;  // one pixel is 0.05 marker units across, 1/13 of one upwards
constexpr int ViewHeight = 200;

class OpponentsViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HeadlessReset();
        HeadlessFailGl(GlFailure::None);
        ResetAppState(appState);
        ASSERT_TRUE(HeadlessGlAvailable()) << "Mesa's surfaceless EGL display is missing";
        GlSurface& surface = appState.opponentsArea.surface;
        view = MakeGlSurface(surface, ViewWidth, ViewHeight);
        fonts = SetupOutlineFont(surface.dc, surface.rc, 24);
        ASSERT_TRUE(LoadCardTexture());
    }

    void TearDown() override
    {
        DeleteGlContext(appState.opponentsArea.surface.rc);
        HeadlessReset();
        ResetAppState(appState);
    }

    static int AddPlayer(std::string name, int x, int y, bool playing = true, int aggression = 5,
                         int bluffing = 5)
    {
        appState.roster.append({std::move(name), bluffing, aggression, playing, x, y});
        return appState.roster.count() - 1;
    }

    // The pixel column and row of a point given in marker units around a player's centre.
    static int Column(int player, double u)
    {
        return PixelColumn(2.0 * appState.roster.at(player).x / ViewWidth - 1 + 0.1 * u, ViewWidth);
    }
    static int Row(int player, double v)
    {
        return PixelRow(2.0 * appState.roster.at(player).y / ViewHeight - 1 + 0.13 * v, ViewHeight);
    }

    std::uint32_t PixelAt(int player, double u, double v) const
    {
        return HeadlessPixel(view, Column(player, u), Row(player, v));
    }

    // How many pixels of a rectangle in marker units around a player pass the test.
    int Count(int player, double left, double right, double bottom, double top,
              const std::function<bool(std::uint32_t)>& test) const
    {
        int n = 0;
        for (int y = Row(player, top); y <= Row(player, bottom); ++y)
            for (int x = Column(player, left); x <= Column(player, right); ++x)
                n += test(HeadlessPixel(view, x, y)) ? 1 : 0;
        return n;
    }

    Window view = nullptr;
    bool fonts = false;
};

bool IsGreen(std::uint32_t p)
{
    return GreenOf(p) > 150 && RedOf(p) < 100 && BlueOf(p) < 100;
}
bool IsRed(std::uint32_t p)
{
    return RedOf(p) > 150 && GreenOf(p) < 100 && BlueOf(p) < 100;
}
bool IsBlue(std::uint32_t p)
{
    return BlueOf(p) > 150 && RedOf(p) < 100 && GreenOf(p) < 100;
}
bool IsWhite(std::uint32_t p)
{
    return RedOf(p) > 200 && GreenOf(p) > 200 && BlueOf(p) > 200;
}

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

TEST_F(OpponentsViewTest, MarkersShowWhetherThePlayerPlaysAndBothLevels)
{
    const int busy = AddPlayer("", 100, 140, true, 10, 0);
    const int idle = AddPlayer("", 260, 60, false, 0, 3);
    DrawOpponents();
    SavePictureIfAsked(view, "opponents_icons");

    // The playing face carries a green dollar sign, the idle one a red cross.
    EXPECT_GT(Count(busy, -1, 1, -1, 1, IsGreen), 5);
    EXPECT_EQ(Count(busy, -1, 1, -1, 1, IsRed), 0);
    EXPECT_GT(Count(idle, -1, 1, -1, 1, IsRed), 5);
    EXPECT_EQ(Count(idle, -1, 1, -1, 1, IsGreen), 0);

    // A red aggression bar above a blue bluffing bar, a tenth of a unit per level from 1.3.
    for (double u : {1.35, 1.8, 2.25})
        EXPECT_TRUE(IsRed(PixelAt(busy, u, -0.25))) << u;
    EXPECT_EQ(PixelAt(busy, 1.8, -0.75), 0u);
    EXPECT_EQ(PixelAt(idle, 1.8, -0.25), 0u);
    EXPECT_TRUE(IsBlue(PixelAt(idle, 1.45, -0.75)));
    EXPECT_EQ(PixelAt(idle, 1.75, -0.75), 0u);
    // Each bar sits in a white frame that closes at 2.4.
    for (int player : {busy, idle})
        EXPECT_GT(Count(player, 2.35, 2.45, -0.9, -0.1, IsWhite), 4) << player;
    EXPECT_EQ(CurrentGlContext(), nullptr);
}

TEST_F(OpponentsViewTest, TheHoveredPlayersIconIsTintedGreen)
{
    const int first = AddPlayer("", 100, 100);
    const int second = AddPlayer("", 300, 100, false);
    DrawOpponents();
    EXPECT_EQ(PixelAt(second, -0.9, 0.9), 0u);  // the faces stand on black
    appState.hoverPlayer = second;
    DrawOpponents();
    SavePictureIfAsked(view, "opponents_hover");
    const std::uint32_t tinted = PixelAt(second, -0.9, 0.9);
    EXPECT_EQ(RedOf(tinted), 0);
    EXPECT_NEAR(GreenOf(tinted), 77, 2);
    EXPECT_EQ(BlueOf(tinted), 0);
    EXPECT_EQ(PixelAt(first, -0.9, 0.9), 0u);
}

TEST_F(OpponentsViewTest, NamesStartOverTheIconAboveTheBars)
{
    if (!fonts)
        GTEST_SKIP() << "no outline font could be set up on this machine, so names cannot draw";
    const int named = AddPlayer("Player 1", 100, 100);
    const int nameless = AddPlayer("", 100, 40);
    DrawOpponents();
    SavePictureIfAsked(view, "opponents_names");
    EXPECT_GT(Count(named, 1.05, 4, 0.35, 1.2, IsWhite), 10);
    EXPECT_EQ(Count(nameless, 1.05, 4, 0.35, 1.2, IsWhite), 0);
    // Nothing of the name lies left of its start at u = 0.8.
    EXPECT_EQ(Count(named, -3, -1.05, -1, 1.2, IsWhite), 0);
}

TEST_F(OpponentsViewTest, OverlappingMarkersPickTheLowestIndexWhileTheHighestIsOnTop)
{
    AddPlayer("", 200, 100, true);
    AddPlayer("", 200, 100, false);
    DrawOpponents();
    EXPECT_GT(Count(1, -1, 1, -1, 1, IsRed), 5);  // the later, idle face covers the earlier
    EXPECT_EQ(Count(1, -1, 1, -1, 1, IsGreen), 0);
    EXPECT_EQ(PickPlayer(200, 100), 0);
    EXPECT_EQ(PickPlayer(Column(0, 0.9), Row(0, -0.9)), 0);

    // Only the icon is pickable: not the name's place, not the bars.
    EXPECT_EQ(PickPlayer(Column(0, 1.8), Row(0, -0.25)), -1);
    EXPECT_EQ(PickPlayer(Column(0, 1.8), Row(0, 0.5)), -1);
    EXPECT_EQ(PickPlayer(Column(0, -1.3), Row(0, 0)), -1);
    EXPECT_EQ(CurrentGlContext(), nullptr);
}

TEST_F(OpponentsViewTest, DraggedMarkersStayTwelvePixelsInside)
{
    const int p = AddPlayer("", 30, 100);
    Player& player = appState.roster.at(p);
    MovePlayer(-100, 0, p);
    EXPECT_EQ(player.x, 12);
    MovePlayer(5, 0, p);  // moving back moves at once
    EXPECT_EQ(player.x, 17);
    MovePlayer(0, -10, p);  // the mouse goes up, the marker too
    EXPECT_EQ(player.y, 110);
    MovePlayer(0, -1000, p);
    EXPECT_EQ(player.y, ViewHeight - 12);
    MovePlayer(1000, 1000, p);
    EXPECT_EQ(player.x, ViewWidth - 12);
    EXPECT_EQ(player.y, 12);
    MovePlayer(INT_MAX, INT_MIN, p);
    EXPECT_EQ(player.x, ViewWidth - 12);
    EXPECT_EQ(player.y, ViewHeight - 12);

    // In a view narrower than 24 pixels the far edge wins.
    appState.opponentsArea.surface.width = 20;
    MovePlayer(-5, 0, p);
    EXPECT_EQ(player.x, 8);
}

TEST_F(OpponentsViewTest, LevelClicksCountElevenStepsPerUnitFromTheFrameEdge)
{
    const int left = AddPlayer("", 100, 100);  // centre at (-0.5, 0): u = (px - 100) / 20
    const int right = AddPlayer("", 300, 60);
    const int aggressionRow = 103, bluffingRow = 110;  // v = -0.25 and v = -0.77
    const struct {
        int px;
        int level;
    } clicks[] = {
        {124, 0},   // u = 1.2, the frame's left edge
        {125, 0},   // u = 1.25, still the first eleventh
        {126, 1},   // u = 1.3, where the bar starts
        {142, 9},   // u = 2.1
        {148, 10},  // u = 2.4, the frame's right edge
        {143, 10},  // u = 2.15: from 2.11 on, 10
    };
    for (const auto& c : clicks) {
        PickPlayerLevel(c.px, aggressionRow);
        EXPECT_EQ(appState.roster.at(left).aggression, c.level) << c.px;
    }
    EXPECT_EQ(appState.roster.at(left).bluffing, 5);

    PickPlayerLevel(126, bluffingRow);
    EXPECT_EQ(appState.roster.at(left).bluffing, 1);
    EXPECT_EQ(appState.roster.at(left).aggression, 10);
    PickPlayerLevel(335, 150);  // the second player's bluffing frame at u = 1.75
    EXPECT_EQ(appState.roster.at(right).bluffing, 6);
    EXPECT_EQ(appState.roster.at(right).aggression, 5);

    // Outside the frames nothing changes: beyond their right end, on the icon.
    PickPlayerLevel(152, aggressionRow);
    PickPlayerLevel(100, 100);
    EXPECT_EQ(appState.roster.at(left).aggression, 10);
    EXPECT_EQ(appState.roster.at(left).bluffing, 1);
    EXPECT_EQ(CurrentGlContext(), nullptr);
}

TEST_F(OpponentsViewTest, OnlyALevelChangeClearsTheWinEstimateAndRedraws)
{
    const int p = AddPlayer("", 100, 100, true, 5);
    DrawOpponents();
    appState.roster.at(p).playing = false;  // shows only when the view is drawn again
    appState.outcomeCounts = {7, 8, 9};
    appState.handTypeCounts[2] = 11;

    PickPlayerLevel(134, 103);  // u = 1.7: level 5, as before
    EXPECT_EQ(appState.outcomeCounts.total(), 24);
    EXPECT_GT(Count(p, -1, 1, -1, 1, IsGreen), 5) << "redrawn although nothing changed";

    PickPlayerLevel(138, 103);  // u = 1.9: level 7
    EXPECT_EQ(appState.roster.at(p).aggression, 7);
    EXPECT_EQ(appState.outcomeCounts.total(), 0);
    EXPECT_EQ(appState.handTypeCounts[2], 11);
    EXPECT_GT(Count(p, -1, 1, -1, 1, IsRed), 5) << "not redrawn after the change";
    EXPECT_EQ(CurrentGlContext(), nullptr);
}

TEST_F(OpponentsViewTest, IndexesOfDeletedPlayersAreNeverUsed)
{
    AddPlayer("", 100, 100);
    AddPlayer("", 300, 100);
    AddPlayer("", 200, 60);
    appState.roster.eraseAt(2);
    appState.hoverPlayer = 2;  // still naming the erased player
    appState.draggedPlayer = 2;
    appState.selectedPlayer = 2;

    DrawOpponents();
    DrawPlayerMarker(2);
    DrawPlayerMarker(-1);
    MovePlayer(30, 30, appState.draggedPlayer);
    MovePlayer(30, 30, -1);
    EXPECT_EQ(appState.roster.count(), 2);
    EXPECT_EQ(appState.roster.at(0).x, 100);
    EXPECT_EQ(appState.roster.at(1).x, 300);
    EXPECT_EQ(appState.roster.at(1).y, 100);
    EXPECT_EQ(PickPlayer(200, 140), -1);  // where the erased marker stood
    EXPECT_EQ(PickPlayer(300, 100), 1);
    // No marker carries the hover tint, which would turn black corners of an icon green.
    const int inkWithStaleHover = FindInk(view, 0).pixels;
    appState.hoverPlayer = -1;
    DrawOpponents();
    EXPECT_EQ(FindInk(view, 0).pixels, inkWithStaleHover);
}
