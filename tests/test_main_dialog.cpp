// The main dialog driven through the headless platform: what each action clears, the estimate
// timer, clicks and drags in its views, the menus, and the players' indexes.
#include "app/main_dialog.h"
#include "app/new_hand.h"
#include "app/state.h"
#include "opponents/opponents_view.h"
#include "opponents/player_dialog.h"
#include "platform/headless/headless.h"
#include "render/card_views.h"
#include "tests/support/shell_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <ctime>
#include <functional>
#include <limits>
#include <string>

// The outcome counters hold far more than thirty hours of deals at 20,000 deals a second.
static_assert(std::numeric_limits<decltype(OutcomeCounts::wins)>::max() / 20000 / 3600 > 30);

namespace {

class MainDialog : public ::testing::Test {
protected:
    void SetUp() override { dialog = StartMainDialog(); }

    void Tick(int times = 1)
    {
        for (int i = 0; i < times; ++i)
            ASSERT_TRUE(HeadlessFireTimer(dialog, EstimateTimer));
    }
    static int FinalHandTotal()
    {
        int sum = 0;
        for (int c : appState.handTypeCounts)
            sum += c;
        return sum;
    }
    // Adds a player whose marker sits at (x, y) of the opponents view.
    static void AddPlayerAt(int x, int y, int bluffing = 5)
    {
        appState.roster.append({"P", bluffing, 5, true, x, y});
    }
    // Points at a player's marker, as a mouse move does; returns its centre.
    static std::pair<int, int> HoverMarker(int index)
    {
        int x = 0, y = 0;
        MarkerCentre(index, x, y);
        MouseAt(Message::MouseMove, x, y);
        return {x, y};
    }
    // A right-click at the mouse answered with a menu command, delivered as the loop would.
    static void ChooseFromMenu(int command)
    {
        HeadlessSetMenuResponder([command](const ShownMenu&) { return command; });
        MouseAt(Message::RightUp, appState.mouseX, appState.mouseY);
        HeadlessDeliverPosted();
    }
    void Command(int id) const
    {
        MessageParams params;
        params.id = id;
        SendWindowMessage(dialog, Message::Command, params);
    }

    Window dialog = nullptr;
};

// The results and the deal in a few letters: O and H while the outcome and final-hand counts
// hold something, the hole and board cards, and who plays.
std::string Summary()
{
    std::string s = appState.outcomeCounts.total() ? "O" : "-";
    s += std::ranges::any_of(appState.handTypeCounts, [](int n) { return n != 0; }) ? "H" : "-";
    auto card = [&s](Card c) {
        s.append(c == NoCard ? " --" : " ").append(c == NoCard ? "" : std::to_string(c));
    };
    std::ranges::for_each(appState.holeCards, card);
    s += " |";
    card(appState.tableCards[0]);
    card(appState.tableCards[1]);
    s += " | ";
    for (int i = 0; i < appState.roster.count(); ++i)
        s += appState.roster.at(i).playing ? '1' : '0';
    return s;
}

}  // namespace

TEST_F(MainDialog, StartsEmptyWithBothTimersItsAreasOnTheirControlsAndTheFocusOnNewHand)
{
    EXPECT_EQ(appState.mainDialog, dialog);
    EXPECT_EQ(ControlText(dialog, WinShareControl), "0%");
    EXPECT_EQ(ControlText(dialog, HandTypeControl), "No Hand");
    EXPECT_EQ(ControlText(dialog, VariantButton), "Texas Hold'em Poker");
    EXPECT_EQ(FocusedWindow(), ControlWindow(dialog, NewHandCommand));
    EXPECT_TRUE(HeadlessFireTimer(dialog, RedrawTimer));
    EXPECT_TRUE(HeadlessFireTimer(dialog, EstimateTimer));
    const ScreenRect outer = WindowScreenRect(dialog);
    for (auto [area, id] : {std::pair{&appState.handCardsArea, HandCardsControl},
                            {&appState.tableCardsArea, TableCardsControl},
                            {&appState.gainArea, GainControl},
                            {&appState.opponentsArea, OpponentsControl}}) {
        const ScreenRect r = WindowScreenRect(ControlWindow(dialog, id));
        EXPECT_EQ((std::array{area->x, area->y, area->surface.width, area->surface.height}),
                  (std::array{r.left - outer.left - DialogFrameWidth,
                              r.top - outer.top - DialogCaptionHeight, r.right - r.left,
                              r.bottom - r.top}))
            << id;
    }
}

TEST_F(MainDialog, EachActionClearsTheResultsThatDependOnItAndKeepsTheRest)
{
    struct Case {
        const char* action;
        std::function<void()> act;
        const char* after;  // Summary() after the action
    };
    const Case cases[] = {
        {"nothing", [] {}, "OH 0 13 26 39 | 5 -- | 101"},
        {"New Hand", [&] { HeadlessClickControl(dialog, NewHandCommand); },
         "-- -- -- -- -- | -- -- | 111"},
        {"the variant", [&] { HeadlessClickControl(dialog, VariantButton); },
         "-- 0 13 -- -- | 5 -- | 101"},
        {"a card placed", [] { ChangeCard(7, true); }, "-- 0 13 26 39 | 5 7 | 101"},
        {"a card taken back", [] { ChangeCard(13, false); }, "-- 0 -- 26 39 | 5 -- | 101"},
        {"a card not placed taken back", [] { ChangeCard(50, false); },
         "OH 0 13 26 39 | 5 -- | 101"},
        {"the modelling check box", [&] { HeadlessClickControl(dialog, ModellingCheckBox); },
         "-H 0 13 26 39 | 5 -- | 101"},
        {"a player added",
         [] {
             HeadlessSetModalDriver([](Window add) { HeadlessPressKey(add, HeadlessKey::Enter); });
             MouseAt(Message::MouseMove, 1, 1);
             ChooseFromMenu(AddNewCommand);
         },
         "-H 0 13 26 39 | 5 -- | 1011"},
        {"a player deleted",
         [] {
             HoverMarker(0);
             ChooseFromMenu(DeleteCommand);
         },
         "-H 0 13 26 39 | 5 -- | 01"},
        {"Playing from the menu",
         [] {
             HoverMarker(1);
             ChooseFromMenu(PlayingCommand);
         },
         "-H 0 13 26 39 | 5 -- | 111"},
        {"a new level from the menu",
         [] {
             HoverMarker(2);
             ChooseFromMenu(FirstBluffingCommand + 9);
         },
         "-H 0 13 26 39 | 5 -- | 101"},
        {"the same level from the menu",
         [] {
             HoverMarker(2);
             ChooseFromMenu(FirstBluffingCommand + 3);
         },
         "OH 0 13 26 39 | 5 -- | 101"},
        {"a click on a marker",
         [] {
             auto [x, y] = HoverMarker(0);
             MouseAt(Message::LeftDown, x, y);
             MouseAt(Message::LeftUp, x, y);
         },
         "OH 0 13 26 39 | 5 -- | 001"},
    };
    for (const Case& c : cases) {
        dialog = StartMainDialog();
        AddPlayerAt(60, 60);
        AddPlayerAt(150, 60);
        AddPlayerAt(240, 60, 3);
        appState.roster.at(1).playing = false;
        appState.gameVariant = OmahaHoldem;
        appState.holeCards = {0, 13, 26, 39};
        appState.tableCards = {5, NoCard, NoCard, NoCard, NoCard};
        appState.outcomeCounts = {3, 2, 1};
        appState.handTypeCounts[OnePair] = 7;
        c.act();
        EXPECT_EQ(Summary(), c.after) << c.action;
    }
}

TEST_F(MainDialog, NewHandShowsZeroesRepaintsAndRepeatsTheSamplesWithinOneSecond)
{
    appState.holeCards = {12, 25, NoCard, NoCard};  // two Kings
    appState.outcomeCounts = {600, 0, 400};
    RefreshResults(dialog, appState);
    EXPECT_EQ(ControlText(dialog, HandTypeControl), "Pair of Kings");
    EXPECT_EQ(ControlText(dialog, WinShareControl), "60%");
    EXPECT_EQ(ControlText(dialog, TieShareControl), "0%");
    EXPECT_EQ(ControlText(dialog, LossShareControl), "40%");
    // Texas reads only the first two hole slots; Omaha all four, two at a time.
    appState.holeCards = {12, 1, 25, 14};  // King, Two, King, Two
    RefreshResults(dialog, appState);
    EXPECT_EQ(ControlText(dialog, HandTypeControl), "High Card (King)");
    appState.gameVariant = OmahaHoldem;
    RefreshResults(dialog, appState);
    EXPECT_EQ(ControlText(dialog, HandTypeControl), "Pair of Kings");

    appState.handTypeCounts.fill(100);
    HeadlessDeliverPaints();
    NewHand(dialog, appState);
    for (int id : {WinShareControl, TieShareControl, LossShareControl, FirstPercentControl,
                   FirstPercentControl + HandTypeCount - 1})
        EXPECT_EQ(ControlText(dialog, id), "0%") << id;
    EXPECT_EQ(ControlText(dialog, HandTypeControl), "No Hand");
    EXPECT_EQ(HeadlessDeliverPaints(), 1);  // an internal paint request, delivered by the loop

    int first[5], second[5];
    std::time_t before, after;
    do {
        before = std::time(nullptr);
        NewHand(dialog, appState);
        for (int& v : first)
            v = NextRandom();
        NewHand(dialog, appState);
        for (int& v : second)
            v = NextRandom();
        after = std::time(nullptr);
    } while (before != after);  // retry if a second boundary fell in between
    EXPECT_TRUE(std::ranges::equal(first, second));
}

TEST_F(MainDialog, EstimateTimerCapsTheDistributionAndRunsTheWinEstimate)
{
    Tick(11);
    EXPECT_EQ(FinalHandTotal(), 50000);            // capped until a reset
    EXPECT_EQ(appState.outcomeCounts.total(), 0);  // no hole cards: no win estimate
    ChangeCard(0, true);
    ChangeCard(13, true);
    Tick(3);
    EXPECT_EQ(appState.outcomeCounts.total(), 3000);
    EXPECT_EQ(ControlText(dialog, BestPossibleControl), "Royal Flush");
}

TEST_F(MainDialog, AClickStrictlyInsideTheGainViewPausesAndResumesTheWinEstimate)
{
    ChangeCard(0, true);
    ChangeCard(13, true);
    Tick();
    const GlArea& gain = appState.gainArea;
    const int x = gain.x + gain.surface.width / 2, y = gain.y + gain.surface.height / 2;
    MouseAt(Message::MouseMove, x, y);
    MouseAt(Message::LeftUp, x, y);
    EXPECT_TRUE(appState.winEstimatePaused);
    Tick(2);
    EXPECT_EQ(appState.outcomeCounts.total(), 1000);
    MouseAt(Message::LeftUp, x, y);  // a second click resumes from the counts reached
    Tick();
    EXPECT_EQ(appState.outcomeCounts.total(), 2000);
    for (auto [bx, by] : {std::pair{gain.x, y}, {x, gain.y + gain.surface.height}}) {
        MouseAt(Message::MouseMove, bx, by);  // the border pixels are not inside
        MouseAt(Message::LeftUp, bx, by);
        EXPECT_FALSE(appState.winEstimatePaused);
    }
}

TEST_F(MainDialog, ADragOfUnderTenPixelsTogglesAMarkerAndTenOnlyMoveIt)
{
    AddPlayerAt(100, 100);
    auto [x, y] = HoverMarker(0);
    MouseAt(Message::LeftDown, x, y);
    MouseAt(Message::MouseMove, x + 4, y);
    MouseAt(Message::MouseMove, x + 4, y + 5);  // 9 pixels in all
    MouseAt(Message::LeftUp, x + 4, y + 5);
    EXPECT_FALSE(appState.roster.at(0).playing);
    EXPECT_EQ(appState.roster.at(0).x, 104);  // the marker followed, y upwards
    EXPECT_EQ(appState.roster.at(0).y, 95);
    EXPECT_EQ(appState.draggedPlayer, -1);

    std::tie(x, y) = HoverMarker(0);
    MouseAt(Message::LeftDown, x, y);
    MouseAt(Message::MouseMove, x + 5, y);
    MouseAt(Message::MouseMove, x, y);  // back and forth adds up to 10
    MouseAt(Message::LeftUp, x, y);
    EXPECT_FALSE(appState.roster.at(0).playing);
}

TEST_F(MainDialog, AReleaseOverAPlacedCardTakesItBackAndElsewhereNothing)
{
    ChangeCard(0, true);
    ChangeCard(13, true);
    const GlArea& hand = appState.handCardsArea;
    const int y = hand.y + hand.surface.height / 2;
    for (int x : {hand.x + 2, hand.x + hand.surface.width * 5 / 8}) {  // a gap; the second card
        MouseAt(Message::MouseMove, x, y);
        MouseAt(Message::LeftUp, x, y);
    }
    EXPECT_EQ(appState.holeCards[0], 0);
    EXPECT_EQ(appState.holeCards[1], NoCard);
}

TEST_F(MainDialog, RightClicksOpenTheMenuThatFitsThePlace)
{
    appState.dialogOriginX = 200;
    appState.dialogOriginY = 100;
    MouseAt(Message::MouseMove, 30, 40);
    HeadlessSetModalDriver([](Window addDialog) {
        EXPECT_EQ(ControlText(addDialog, NameEditControl), "Opponent 1");
        SetControlText(addDialog, NameEditControl, "Zo\xC3\xAB");
        MessageParams scroll;
        scroll.control = ControlWindow(addDialog, AggressionBarControl);
        scroll.id = ScrollPageRight;
        SendWindowMessage(addDialog, Message::HScroll, scroll);
        HeadlessPressKey(addDialog, HeadlessKey::Enter);
    });
    ChooseFromMenu(AddNewCommand);
    ASSERT_EQ(HeadlessMenusShown().size(), 1u);
    EXPECT_EQ(HeadlessMenusShown()[0].items.size(), 1u);
    EXPECT_EQ(HeadlessMenusShown()[0].items[0].text, "Add New");
    EXPECT_EQ(HeadlessMenusShown()[0].screenX, 230);
    EXPECT_EQ(HeadlessMenusShown()[0].screenY, 140);
    ASSERT_EQ(appState.roster.count(), 1);
    const Player& p = appState.roster.at(0);
    EXPECT_EQ(std::tuple(p.name, p.aggression, p.bluffing, p.playing, p.x, p.y),
              std::tuple("Zo\xEB", 10, 5, true, 12, 12));

    AddPlayerAt(60, 60, 3);
    HoverMarker(1);
    appState.roster.at(1).playing = false;
    ChooseFromMenu(0);  // dismissed
    EXPECT_EQ(appState.selectedPlayer, 1);
    const ShownMenu& seen = HeadlessMenusShown().back();
    ASSERT_EQ(seen.items.size(), 5u);
    EXPECT_EQ(seen.items[0].text, "Playing");
    EXPECT_FALSE(seen.items[0].checked);
    EXPECT_EQ(seen.items[1].text, "Aggression");
    EXPECT_TRUE(seen.items[1].submenu[5].checked);
    EXPECT_EQ(seen.items[2].text, "Bluffing");
    EXPECT_TRUE(seen.items[2].submenu[3].checked);
    EXPECT_TRUE(seen.items[3].separator);
    EXPECT_EQ(seen.items[4].text, "Delete");
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
    EXPECT_EQ(Summary(), "-- -- -- -- -- | -- -- | 11");
    EXPECT_EQ(appState.roster.at(1).x, 240);
    HoverMarker(1);
    ChooseFromMenu(PlayingCommand);
    EXPECT_EQ(Summary(), "-- -- -- -- -- | -- -- | 10");

    // Menu commands for a selected index beyond the roster change nothing.
    appState.selectedPlayer = 5;
    for (int id :
         {PlayingCommand, DeleteCommand, FirstAggressionCommand + 1, FirstBluffingCommand + 1})
        Command(id);
    EXPECT_EQ(appState.roster.count(), 2);
    EXPECT_EQ(appState.roster.at(0).aggression, 5);
}

TEST_F(MainDialog, DestroyDeletesTheFourContexts)
{
    DestroyWindow(dialog);
    for (const GlArea* area : {&appState.handCardsArea, &appState.tableCardsArea,
                               &appState.gainArea, &appState.opponentsArea})
        EXPECT_EQ(area->surface.rc, nullptr);
    DrawCardAreas();  // nothing draws through a deleted context
}
