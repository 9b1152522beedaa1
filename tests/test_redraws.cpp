// The redraw timers draw a view only when its picture would change: an idle tick draws nothing,
// every kind of change draws exactly the views that show it, and whatever a tick skips, every
// view still shows what a full redraw would draw.
#include "app/main_dialog.h"
#include "app/result_bars.h"
#include "app/state.h"
#include "opponents/opponents_view.h"
#include "platform/headless/headless.h"
#include "render/card_views.h"
#include "render/gain.h"
#include "render/gl_surface.h"
#include "tests/support/shell_fixture.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace {

enum View { Hand, Table, Gain, Opponents, Grid, Strip, ViewCount };
constexpr const char* ViewNames[ViewCount] = {"hand",      "table", "gain",
                                              "opponents", "grid",  "strip"};
using Counts = std::array<int, ViewCount>;

class Redraws : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog = StartMainDialog();
        grid = OpenSelectionWindow();
        ASSERT_NE(grid, nullptr);
        CreateInitialRoster(appState.roster, appState.opponentsArea.surface.width,
                            appState.opponentsArea.surface.height);
        views = {ControlWindow(dialog, HandCardsControl),
                 ControlWindow(dialog, TableCardsControl),
                 ControlWindow(dialog, GainControl),
                 ControlWindow(dialog, OpponentsControl),
                 grid,
                 ControlWindow(dialog, ActivityStripControl)};
        Tick();  // the first tick after the texture draws every view
    }

    // One tick of the main dialog's redraw timer and of the selection window's.
    void Tick()
    {
        ASSERT_TRUE(HeadlessFireTimer(dialog, RedrawTimer));
        ASSERT_TRUE(HeadlessFireTimer(grid, 1));
    }

    // Frames shown on each OpenGL view; rectangles drawn on the strip (drawn with GDI).
    Counts Drawn() const
    {
        Counts c{};
        for (int v = 0; v < ViewCount; ++v)
            c[v] = v == Strip ? HeadlessPictureChanges(views[v]) : HeadlessGlFrames(views[v]);
        return c;
    }

    // The views that one tick draws, as a set of names ("hand grid").
    std::string DrawnByTick()
    {
        const Counts before = Drawn();
        Tick();
        const Counts after = Drawn();
        std::string names;
        for (int v = 0; v < ViewCount; ++v) {
            if (v != Strip) {
                EXPECT_LE(after[v] - before[v], 1) << ViewNames[v];
            }
            if (after[v] == before[v])
                continue;
            if (!names.empty())
                names += ' ';
            names += ViewNames[v];
        }
        return names;
    }

    std::vector<std::uint32_t> Picture(View v) const
    {
        const ClientSize size = WindowClientSize(views[v]);
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < size.height; ++y)
            for (int x = 0; x < size.width; ++x)
                pixels.push_back(HeadlessPixel(views[v], x, y));
        return pixels;
    }

    // Every view shows what drawing it in full now shows.
    void ExpectEveryPictureCurrent(const std::string& change)
    {
        std::array<std::vector<std::uint32_t>, ViewCount> shown;
        for (int v = 0; v < ViewCount; ++v)
            shown[v] = Picture(View(v));
        DrawCardAreas();
        DrawGain(-1);
        DrawOpponents();
        DrawSelectionGrid();
        DrawActivityStrip(dialog);
        for (int v = 0; v < ViewCount; ++v)
            EXPECT_TRUE(Picture(View(v)) == shown[v]) << ViewNames[v] << " after " << change;
    }

    Window dialog = nullptr;
    Window grid = nullptr;
    std::array<Window, ViewCount> views{};
};

}  // namespace

TEST_F(Redraws, IdleTicksDrawNothingWithoutCardsAndWhilePaused)
{
    for (int v = 0; v < ViewCount; ++v)
        ASSERT_GT(Drawn()[v], 0) << ViewNames[v];
    // No cards: the final-hand sampling runs on the estimate timer, the win estimate does not.
    const Counts before = Drawn();
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(HeadlessFireTimer(dialog, EstimateTimer));
        Tick();
    }
    EXPECT_EQ(Drawn(), before);
    ExpectEveryPictureCurrent("idle ticks");

    // Cards placed, the estimate paused by a click on the gain display: still nothing to draw.
    for (Card card : {0, 13, 26})
        ChangeCard(card, true);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(HeadlessFireTimer(dialog, EstimateTimer));
    const GlArea& gain = appState.gainArea;
    MouseAt(Message::MouseMove, gain.x + 5, gain.y + 5);
    MouseAt(Message::LeftUp, gain.x + 5, gain.y + 5);
    ASSERT_TRUE(appState.winEstimatePaused);
    ASSERT_GT(appState.outcomeCounts.total(), 0);
    Tick();
    const Counts paused = Drawn();
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(HeadlessFireTimer(dialog, EstimateTimer));
        Tick();
    }
    EXPECT_EQ(Drawn(), paused);
    ExpectEveryPictureCurrent("paused ticks");

    // An expose draws its view itself; the next tick has nothing left to do.
    const int opponentsFrames = Drawn()[Opponents];
    HeadlessExposeGl(views[Opponents]);
    EXPECT_EQ(Drawn()[Opponents], opponentsFrames + 1);
    EXPECT_EQ(DrawnByTick(), "");
}

TEST_F(Redraws, EachKindOfChangeDrawsTheViewsThatShowItOnce)
{
    Player& first = appState.roster.at(0);
    struct Case {
        const char* change;
        std::function<void()> make;
        const char* drawn;
    };
    const Case cases[] = {
        {"a hole card", [] { appState.holeCards[0] = 12; }, "hand grid"},
        {"a second hole card", [] { appState.holeCards[1] = 25; }, "hand grid"},
        {"a board card", [] { appState.tableCards[2] = 40; }, "table grid"},
        // Hole slot 2 is not shown under Texas Hold'em, but its card leaves the grid.
        {"hole slot 2 under Texas", [] { appState.holeCards[2] = 7; }, "grid"},
        {"the variant", [] { appState.gameVariant = OmahaHoldem; }, "hand"},
        {"the hovered hole card", [] { appState.hoveredCard[HandView] = 25; }, "hand"},
        {"the hovered board card", [] { appState.hoveredCard[TableView] = 40; }, "table"},
        {"the hovered grid card", [] { appState.hoveredCard[SelectionView] = 3; }, "grid"},
        {"the hovered marker", [] { appState.hoverPlayer = 1; }, "opponents"},
        {"a marker's place", [&] { first.x += 3; }, "opponents"},
        {"a marker's height", [&] { first.y += 3; }, "opponents"},
        {"an aggression", [&] { first.aggression = 9; }, "opponents"},
        {"a bluffing", [&] { first.bluffing = 1; }, "opponents"},
        {"a player sitting out", [&] { first.playing = false; }, "opponents"},
        {"a name", [&] { first.name = "Somebody else"; }, "opponents"},
        {"a player added",
         [] {
             Player p;
             p.name = "New";
             appState.roster.append(p);
         },
         "opponents"},
        {"a player deleted", [] { appState.roster.eraseAt(2); }, "opponents"},
        {"the first deals",
         [] {
             appState.outcomeCounts = {600, 0, 400};
         },
         "gain strip"},
        {"more deals",
         [] {
             appState.outcomeCounts = {700, 0, 400};
         },
         "strip"},
        {"the gain", [] { gainPercent = 20.0f; }, "gain"},
        {"the pause", [] { appState.winEstimatePaused = true; }, "gain strip"},
        {"the gain while paused", [] { gainPercent = -3.5f; }, "gain"},
        {"the resume", [] { appState.winEstimatePaused = false; }, "gain strip"},
        {"the counts cleared", [] { appState.outcomeCounts = {}; }, "gain strip"},
        {"the gain without deals", [] { gainPercent = 50.0f; }, ""},
        {"the opponents view's width", [] { appState.opponentsArea.surface.width += 1; },
         "opponents"},
        {"the window resized", [this] { HeadlessResizeWindow(grid, 300, 150); }, "grid"},
        {"the window resized to its size", [this] { HeadlessResizeWindow(grid, 300, 150); },
         "grid"},
        {"the texture loaded", [] { ASSERT_TRUE(LoadCardTexture()); },
         "hand table gain opponents grid"},
        {"a context made",
         [] {
             GlSurface& s = appState.tableCardsArea.surface;
             DeleteGlContext(s.rc);
             s.rc = CreateGlContext(s.dc);
         },
         "hand table gain opponents grid"},
    };
    for (const Case& c : cases) {
        c.make();
        EXPECT_EQ(DrawnByTick(), c.drawn) << c.change;
        EXPECT_EQ(DrawnByTick(), "") << "the tick after " << c.change;
        ExpectEveryPictureCurrent(c.change);
    }
}
