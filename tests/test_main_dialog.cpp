// The main dialog driven through the headless platform: what each action clears, the estimate
// timer, clicks and drags in its views, the menus, and the players' indexes.
#include "app/main_dialog.h"
#include "app/state.h"
#include "odds/final_hands.h"
#include "odds/win_estimate.h"
#include "opponents/opponents_view.h"
#include "opponents/player_dialog.h"
#include "platform/headless/headless.h"
#include "render/card_views.h"
#include "tests/support/shell_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include <algorithm>
#include <array>
#include <functional>
#include <numeric>
#include <string>

namespace {

class MainDialog : public ::testing::Test {
protected:
    void SetUp() override { dialog = StartMainDialog(); }

    // Adds a player whose marker sits at (x, y) of the opponents view.
    static void AddPlayerAt(int x, int y, int bluffing = 5, bool playing = true)
    {
        appState.roster.append({"P", bluffing, 5, playing, x, y});
    }
    // A right-click at the mouse, or on a player's marker, answered with a menu command (0 to
    // dismiss it), delivered as the loop would.
    static void ChooseFromMenu(int command, int player = -1)
    {
        if (player >= 0)
            HoverMarker(player);
        HeadlessSetMenuResponder([command](const ShownMenu&) { return command; });
        MouseAt(Message::RightUp, appState.mouseX, appState.mouseY);
        HeadlessDeliverPosted();
    }
    static void ClickAt(int x, int y)
    {
        MouseAt(Message::MouseMove, x, y);
        MouseAt(Message::LeftUp, x, y);
    }
    // Presses on a player's marker, moves the mouse to (dx1, dy1) and then (dx2, dy2) from
    // there, and releases.
    static void Drag(int player, int dx1, int dy1, int dx2, int dy2)
    {
        auto [x, y] = HoverMarker(player);
        MouseAt(Message::LeftDown, x, y);
        MouseAt(Message::MouseMove, x + dx1, y + dy1);
        MouseAt(Message::MouseMove, x + dx2, y + dy2);
        MouseAt(Message::LeftUp, x + dx2, y + dy2);
    }

    Window dialog = nullptr;
};

// The results and the deal in a few letters: O and H while the outcome and final-hand counts
// hold something, the hole cards, the first two board cards, and who plays ("OH 0 13|5 -|10").
std::string Summary()
{
    std::string s = appState.outcomeCounts.total() ? "O" : "-";
    s += std::ranges::any_of(appState.handTypeCounts, [](int n) { return n != 0; }) ? "H" : "-";
    for (int i = 0; i < 6; ++i) {
        const Card c = i < 4 ? appState.holeCards[i] : appState.tableCards[i - 4];
        s.append(i == 4 ? "|" : " ").append(c == NoCard ? "-" : std::to_string(c));
    }
    s += "|";
    for (int i = 0; i < appState.roster.count(); ++i)
        s += appState.roster.at(i).playing ? '1' : '0';
    return s;
}

}  // namespace

TEST_F(MainDialog, ItsAreasLieOnTheirControlsTheFocusOnNewHandAndDestroyDeletesTheirContexts)
{
    EXPECT_EQ(FocusedWindow(), ControlWindow(dialog, NewHandCommand));
    const ScreenRect outer = WindowScreenRect(dialog);
    const std::pair<GlArea*, int> areas[] = {{&appState.handCardsArea, HandCardsControl},
                                             {&appState.tableCardsArea, TableCardsControl},
                                             {&appState.gainArea, GainControl},
                                             {&appState.opponentsArea, OpponentsControl}};
    for (auto [area, id] : areas) {
        const ScreenRect r = WindowScreenRect(ControlWindow(dialog, id));
        EXPECT_EQ((std::array{area->x, area->y, area->surface.width, area->surface.height}),
                  (std::array{r.left - outer.left - DialogFrameWidth,
                              r.top - outer.top - DialogCaptionHeight, r.right - r.left,
                              r.bottom - r.top}))
            << id;
    }
    DestroyWindow(dialog);
    for (auto [area, id] : areas)
        EXPECT_EQ(area->surface.rc, nullptr) << id;
}

TEST_F(MainDialog, EachActionClearsTheResultsThatDependOnItAndKeepsTheRest)
{
    const GlArea& hand = appState.handCardsArea;
    const int middle = hand.y + hand.surface.height / 2;
    // The action, and Summary() after it.
    const std::tuple<const char*, std::function<void()>, const char*> cases[] = {
        {"nothing", [] {}, "OH 0 13 26 39|5 -|101"},
        {"New Hand",
         [&] {
             HeadlessClickControl(dialog, NewHandCommand);
             for (int id : {WinShareControl, LossShareControl, FirstPercentControl + OnePair})
                 EXPECT_EQ(ControlText(dialog, id), "0%") << id;
             // Reseeded from the clock: two New Hands in one second sample alike.
             EXPECT_LE(std::llabs(std::int64_t{randomState} - std::time(nullptr)), 1);
         },
         "-- - - - -|- -|111"},
        {"the variant", [&] { HeadlessClickControl(dialog, VariantButton); },
         "-- 0 13 - -|5 -|101"},
        {"a card placed", [] { ChangeCard(7, true); }, "-- 0 13 26 39|5 7|101"},
        {"a card not placed taken back", [] { ChangeCard(50, false); }, "OH 0 13 26 39|5 -|101"},
        {"a click on the second hole card",
         [&] { ClickAt(hand.x + hand.surface.width * 3 / 8, middle); }, "-- 0 - 26 39|5 -|101"},
        {"the modelling check box", [&] { HeadlessClickControl(dialog, ModellingCheckBox); },
         "-H 0 13 26 39|5 -|101"},
        {"a player added", [] { ChooseFromMenu(AddNewCommand); }, "-H 0 13 26 39|5 -|1011"},
        {"a player deleted", [] { ChooseFromMenu(DeleteCommand, 0); }, "-H 0 13 26 39|5 -|01"},
        {"Playing from the menu", [] { ChooseFromMenu(PlayingCommand, 1); },
         "-H 0 13 26 39|5 -|111"},
        {"a new level from the menu", [] { ChooseFromMenu(FirstBluffingCommand + 9, 2); },
         "-H 0 13 26 39|5 -|101"},
        {"the same level from the menu", [] { ChooseFromMenu(FirstBluffingCommand + 3, 2); },
         "OH 0 13 26 39|5 -|101"},
        {"a click on a marker", [] { Drag(0, 0, 0, 0, 0); }, "OH 0 13 26 39|5 -|001"},
        {"a drag of 9 pixels, the marker following, y upwards",
         [] {
             Drag(0, 4, 0, 4, 5);
             EXPECT_EQ(std::pair(appState.roster.at(0).x, appState.roster.at(0).y),
                       std::pair(64, 55));
         },
         "OH 0 13 26 39|5 -|001"},
        {"a drag of 10 pixels to and fro", [] { Drag(0, 5, 0, 0, 0); }, "OH 0 13 26 39|5 -|101"},
    };
    for (const auto& [action, act, after] : cases) {
        dialog = StartMainDialog();
        AddPlayerAt(60, 60);
        AddPlayerAt(150, 60, 5, false);
        AddPlayerAt(240, 60, 3);
        appState.gameVariant = OmahaHoldem;
        appState.holeCards = {0, 13, 26, 39};
        appState.tableCards = {5, NoCard, NoCard, NoCard, NoCard};
        appState.outcomeCounts = {3, 2, 1};
        appState.handTypeCounts[OnePair] = 7;
        HeadlessSetModalDriver([](Window add) { HeadlessPressKey(add, HeadlessKey::Enter); });
        act();
        EXPECT_EQ(Summary(), after) << action;
        EXPECT_EQ(appState.draggedPlayer, -1) << action;
    }
}

TEST_F(MainDialog, TheTimerCapsTheDistributionAndAClickStrictlyInsideTheGainViewPausesTheEstimate)
{
    for (int i = 0; i <= FinalHandCountCap / FinalHandBatchSize; ++i)
        HeadlessFireTimer(dialog, EstimateTimer);
    EXPECT_EQ(std::accumulate(appState.handTypeCounts.begin(), appState.handTypeCounts.end(), 0),
              FinalHandCountCap);
    EXPECT_EQ(appState.outcomeCounts.total(), 0);  // no hole cards: no win estimate
    ChangeCard(0, true);
    ChangeCard(13, true);
    const GlArea& gain = appState.gainArea;
    const int x = gain.x + gain.surface.width / 2, y = gain.y + gain.surface.height / 2;
    // The border pixels are not inside; a second click resumes from the counts reached.
    for (auto [cx, cy, paused, deals] : {std::array{gain.x, y, 0, 1},
                                         {x, gain.y + gain.surface.height, 0, 2},
                                         {x, y, 1, 2},
                                         {x, y, 0, 3}}) {
        ClickAt(cx, cy);
        EXPECT_EQ(appState.winEstimatePaused, paused == 1) << cx << ", " << cy;
        HeadlessFireTimer(dialog, EstimateTimer);
        EXPECT_EQ(appState.outcomeCounts.total(), deals * DealsPerEstimate);
    }
}

TEST_F(MainDialog, RightClicksOpenTheMenuThatFitsThePlace)
{
    appState.dialogOriginX = 200;
    appState.dialogOriginY = 100;
    MouseAt(Message::MouseMove, 30, 40);
    HeadlessSetModalDriver([](Window addDialog) {
        SendWindowMessage(
            addDialog, Message::HScroll,
            {.id = ScrollPageRight, .control = ControlWindow(addDialog, AggressionBarControl)});
        HeadlessPressKey(addDialog, HeadlessKey::Enter);
    });
    ChooseFromMenu(AddNewCommand);
    const ShownMenu& add = HeadlessMenusShown().at(0);
    EXPECT_EQ(std::tuple(add.items.size(), add.items[0].text, add.screenX, add.screenY),
              std::tuple(1u, "Add New", 230, 140));
    ASSERT_EQ(appState.roster.count(), 1);
    const Player& p = appState.roster.at(0);
    EXPECT_EQ(std::tuple(p.name, p.aggression, p.bluffing, p.playing, p.x, p.y),
              std::tuple("Opponent 1", 10, 5, true, 12, 12));

    AddPlayerAt(60, 60, 3, false);
    ChooseFromMenu(0, 1);  // dismissed
    const ShownMenu& seen = HeadlessMenusShown().back();
    ASSERT_EQ(seen.items.size(), 5u);
    EXPECT_EQ(std::tuple(seen.items[0].text, seen.items[0].checked, seen.items[3].separator,
                         seen.items[4].text),
              std::tuple("Playing", false, true, "Delete"));
    EXPECT_TRUE(seen.items[1].submenu[5].checked);  // aggression 5
    EXPECT_TRUE(seen.items[2].submenu[3].checked);  // bluffing 3
}

TEST_F(MainDialog, IndexesOfDeletedPlayersAreNeverUsed)
{
    AddPlayerAt(60, 60);
    AddPlayerAt(150, 60);
    AddPlayerAt(240, 60);
    // The hovered middle player is deleted while the button is held. Without a mouse move, the
    // release, a right-click and a press reach nobody; the later player, moved down, is picked.
    auto [x, y] = HoverMarker(1);
    MouseAt(Message::LeftDown, x, y);
    ChooseFromMenu(DeleteCommand);
    ASSERT_EQ(appState.roster.count(), 2);
    MouseAt(Message::LeftUp, x, y);
    HeadlessSetMenuResponder(nullptr);
    MouseAt(Message::RightUp, x, y);
    EXPECT_EQ(HeadlessMenusShown().back().items[0].text, "Add New");
    MouseAt(Message::LeftDown, x, y);
    MouseAt(Message::MouseMove, x + 3, y);
    MouseAt(Message::LeftUp, x + 3, y);
    EXPECT_EQ(Summary(), "-- - - - -|- -|11");
    EXPECT_EQ(appState.roster.at(1).x, 240);
    ChooseFromMenu(PlayingCommand, 1);
    EXPECT_EQ(Summary(), "-- - - - -|- -|10");

    // Menu commands for a selected index beyond the roster change nothing.
    appState.selectedPlayer = 5;
    for (int id :
         {PlayingCommand, DeleteCommand, FirstAggressionCommand + 1, FirstBluffingCommand + 1})
        SendWindowMessage(dialog, Message::Command, {.id = id});
    EXPECT_EQ(Summary(), "-- - - - -|- -|10");
}
