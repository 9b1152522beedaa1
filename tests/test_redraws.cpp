// The redraw timers draw a view only when its picture would change: idle ticks draw nothing, each
// change draws the views that show it once, and every view shows what a full redraw would draw.
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
    }

    // One tick of the main dialog's redraw timer and of the selection window's.
    void Tick()
    {
        ASSERT_TRUE(HeadlessFireTimer(dialog, RedrawTimer));
        ASSERT_TRUE(HeadlessFireTimer(grid, 1));
    }
    // Ticks of the estimate timer, each followed by a redraw tick that must draw nothing.
    void EstimateTicks(int times)
    {
        for (int i = 0; i < times; ++i) {
            ASSERT_TRUE(HeadlessFireTimer(dialog, EstimateTimer));
            EXPECT_EQ(DrawnByTick(), "") << "estimate tick " << i;
        }
    }

    // Frames shown on each OpenGL view; rectangles drawn on the strip (drawn with GDI).
    Counts Drawn() const
    {
        Counts c{};
        for (int v = 0; v < ViewCount; ++v)
            c[v] = v == Strip ? HeadlessPictureChanges(views[v]) : HeadlessGlFrames(views[v]);
        return c;
    }

    // The views that one tick draws, as a set of names ("hand grid"); an OpenGL view at most once.
    std::string DrawnByTick()
    {
        const Counts before = Drawn();
        Tick();
        const Counts after = Drawn();
        std::string names;
        for (int v = 0; v < ViewCount; ++v) {
            EXPECT_TRUE(v == Strip || after[v] - before[v] <= 1) << ViewNames[v];
            if (after[v] != before[v])
                names.append(names.empty() ? "" : " ").append(ViewNames[v]);
        }
        return names;
    }

    // Every view shows what drawing it in full now shows.
    void ExpectEveryPictureCurrent(const std::string& change)
    {
        auto pictures = [this] {
            std::vector<std::uint32_t> pixels;
            for (Window view : views)
                for (int y = 0; y < WindowClientSize(view).height; ++y)
                    for (int x = 0; x < WindowClientSize(view).width; ++x)
                        pixels.push_back(HeadlessPixel(view, x, y));
            return pixels;
        };
        const std::vector<std::uint32_t> shown = pictures();
        DrawCardAreas();
        DrawGain(-1);
        DrawOpponents();
        DrawSelectionGrid();
        DrawActivityStrip(dialog);
        EXPECT_TRUE(pictures() == shown) << "after " << change;
    }

    Window dialog = nullptr;
    Window grid = nullptr;
    std::array<Window, ViewCount> views{};
};

}  // namespace

TEST_F(Redraws, IdleTicksDrawNothingAndEachKindOfChangeDrawsTheViewsThatShowItOnce)
{
    EXPECT_EQ(DrawnByTick(),
              "hand table gain opponents grid strip");  // the first after the texture
    Player& first = appState.roster.at(0);
    // The change, and the views the next tick draws.
    const std::tuple<const char*, std::function<void()>, const char*> cases[] = {
        // Without cards, the final-hand sampling runs on the estimate timer, the win estimate not.
        {"estimate ticks without cards", [this] { EstimateTicks(20); }, ""},
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
        {"a player added", [] { appState.roster.append(Player{}); }, "opponents"},
        {"a player deleted", [] { appState.roster.eraseAt(2); }, "opponents"},
        {"the first deals", [] { appState.outcomeCounts.wins = 600; }, "gain strip"},
        {"more deals", [] { appState.outcomeCounts.losses = 400; }, "strip"},
        {"the gain", [] { gainPercent = 20.0f; }, "gain"},
        {"a fourth hole card under Omaha", [] { appState.holeCards[3] = 30; }, "hand grid"},
        {"the pause", [] { appState.winEstimatePaused = true; }, "gain strip"},
        {"estimate ticks with a full hole while paused", [this] { EstimateTicks(20); }, ""},
        {"the gain while paused", [] { gainPercent = -3.5f; }, "gain"},
        {"the resume", [] { appState.winEstimatePaused = false; }, "gain strip"},
        {"the counts cleared", [] { appState.outcomeCounts = {}; }, "gain strip"},
        {"the gain without deals", [] { gainPercent = 50.0f; }, ""},
        {"the opponents view's width", [] { appState.opponentsArea.surface.width += 1; },
         "opponents"},
        {"the window resized", [this] { HeadlessResizeWindow(grid, 300, 150); }, "grid"},
        {"the texture loaded", [] { ASSERT_TRUE(LoadCardTexture()); },
         "hand table gain opponents grid"},
    };
    for (const auto& [change, make, drawn] : cases) {
        make();
        EXPECT_EQ(DrawnByTick(), drawn) << change;
        EXPECT_EQ(DrawnByTick(), "") << "the tick after " << change;
        ExpectEveryPictureCurrent(change);
    }
}
