#include "app/main_dialog.h"
#include "app/state.h"
#include "odds/screen.h"
#include "opponents/player_dialog.h"
#include "platform/headless/headless.h"
#include "render/card_views.h"
#include "tests/support/shell_fixture.h"

#include <gtest/gtest.h>

namespace {

class MainDialog : public ::testing::Test {
protected:
    void SetUp() override { dialog = StartMainDialog(); }

    void Tick(int timer, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            ASSERT_TRUE(HeadlessFireTimer(dialog, timer));
    }

    int FinalHandTotal() const
    {
        int sum = 0;
        for (int c : appState.handTypeCounts)
            sum += c;
        return sum;
    }

    // Adds a player whose marker sits at (x, y) of the opponents view.
    void AddPlayerAt(int x, int y, int aggression = 5, int bluffing = 5)
    {
        Player p;
        p.name = "P";
        p.x = x;
        p.y = y;
        p.aggression = aggression;
        p.bluffing = bluffing;
        appState.roster.append(p);
    }

    Window dialog = nullptr;
};

}  // namespace

TEST_F(MainDialog, StartsEmptyWithBothTimersAndTheFocusOnNewHand)
{
    EXPECT_EQ(appState.mainDialog, dialog);
    EXPECT_EQ(ControlText(dialog, WinShareControl), "0%");
    EXPECT_EQ(ControlText(dialog, HandTypeControl), "No Hand");
    EXPECT_EQ(ControlText(dialog, VariantButton), "Texas Hold'em Poker");
    EXPECT_EQ(FocusedWindow(), ControlWindow(dialog, NewHandCommand));
    EXPECT_TRUE(HeadlessFireTimer(dialog, RedrawTimer));
    EXPECT_TRUE(HeadlessFireTimer(dialog, EstimateTimer));
    // The four areas were measured from their controls (the hole cards view is 141 x 41
    // dialog units at 14, 21).
    EXPECT_EQ(appState.handCardsArea.x, 21);
    EXPECT_EQ(appState.handCardsArea.y, 34);
    EXPECT_EQ(appState.handCardsArea.surface.width, 212);
    EXPECT_EQ(appState.handCardsArea.surface.height, 67);
}

TEST_F(MainDialog, QuitAsksFirstAndOnlyYesEnds)
{
    HeadlessSetMessageBoxResponder([](const RecordedMessageBox&) { return MessageBoxResult::No; });
    HeadlessPressKey(dialog, HeadlessKey::Escape);
    ASSERT_EQ(HeadlessMessageBoxes().size(), 1u);
    EXPECT_EQ(HeadlessMessageBoxes()[0].text, "Really Quit?");
    EXPECT_EQ(HeadlessMessageBoxes()[0].caption, "Quit Program");
    EXPECT_EQ(HeadlessMessageBoxes()[0].buttons, MessageBoxButtons::YesNo);
    EXPECT_EQ(RunMessageLoop(dialog), -1);  // nothing posted
    EXPECT_TRUE(HeadlessFireTimer(dialog, EstimateTimer));

    HeadlessSetMessageBoxResponder(nullptr);  // answers Yes
    HeadlessClickClose(dialog);
    EXPECT_EQ(RunMessageLoop(dialog), 2);
}

TEST_F(MainDialog, EnterPressesTheFocusedButtonOrAsksToQuit)
{
    ChangeCard(0, true);
    HeadlessPressKey(dialog, HeadlessKey::Enter);  // "New Hand" has the focus
    EXPECT_EQ(appState.holeCards[0], NoCard);
    EXPECT_TRUE(HeadlessMessageBoxes().empty());
    HeadlessPressKey(dialog, HeadlessKey::Tab);  // the check box: Enter means command 1
    HeadlessPressKey(dialog, HeadlessKey::Enter);
    ASSERT_EQ(HeadlessMessageBoxes().size(), 1u);
    EXPECT_EQ(HeadlessMessageBoxes()[0].text, "Really Quit?");
}

TEST_F(MainDialog, VariantToggleEmptiesTheLastHoleSlotsAndClearsBothEstimates)
{
    HeadlessClickControl(dialog, VariantButton);
    EXPECT_EQ(appState.gameVariant, OmahaHoldem);
    EXPECT_EQ(ControlText(dialog, VariantButton), "Omaha Hold'em Poker");
    for (Card c : {0, 13, 26, 39, 5})
        ChangeCard(c, true);
    ASSERT_EQ(appState.holeCards[3], 39);
    Tick(EstimateTimer, 2);
    ASSERT_GT(appState.outcomeCounts.total(), 0);

    HeadlessClickControl(dialog, VariantButton);
    EXPECT_EQ(appState.gameVariant, TexasHoldem);
    EXPECT_EQ(ControlText(dialog, VariantButton), "Texas Hold'em Poker");
    EXPECT_EQ(appState.holeCards[0], 0);
    EXPECT_EQ(appState.holeCards[1], 13);
    EXPECT_EQ(appState.holeCards[2], NoCard);
    EXPECT_EQ(appState.holeCards[3], NoCard);
    EXPECT_EQ(appState.tableCards[0], 5);
    EXPECT_EQ(appState.outcomeCounts.total(), 0);
    EXPECT_EQ(FinalHandTotal(), 0);
}

TEST_F(MainDialog, EstimateTimerCapsTheDistributionAndRunsTheWinEstimate)
{
    Tick(EstimateTimer, 10);
    EXPECT_EQ(FinalHandTotal(), 50000);
    Tick(EstimateTimer);
    EXPECT_EQ(FinalHandTotal(), 50000);            // capped until a reset
    EXPECT_EQ(appState.outcomeCounts.total(), 0);  // no hole cards: no win estimate

    ChangeCard(0, true);
    ChangeCard(13, true);
    EXPECT_EQ(FinalHandTotal(), 0);
    Tick(EstimateTimer, 3);
    EXPECT_EQ(appState.outcomeCounts.total(), 3000);
    EXPECT_EQ(ControlText(dialog, BestPossibleControl), "Royal Flush");
}

TEST_F(MainDialog, AClickOnTheGainViewPausesAndResumesTheWinEstimate)
{
    ChangeCard(0, true);
    ChangeCard(13, true);
    Tick(EstimateTimer);
    const GlArea& gain = appState.gainArea;
    const int x = gain.x + gain.surface.width / 2;
    const int y = gain.y + gain.surface.height / 2;
    MouseAt(Message::MouseMove, x, y);
    MouseAt(Message::LeftUp, x, y);
    EXPECT_TRUE(appState.winEstimatePaused);
    Tick(EstimateTimer, 2);
    EXPECT_EQ(appState.outcomeCounts.total(), 1000);
    // While paused the gain view stands on white.
    EXPECT_EQ(HeadlessPixel(ControlWindow(dialog, GainControl), 2, 2), Rgb(255, 255, 255));

    MouseAt(Message::LeftUp, x, y);  // a second click resumes from the counts reached
    EXPECT_FALSE(appState.winEstimatePaused);
    Tick(EstimateTimer);
    EXPECT_EQ(appState.outcomeCounts.total(), 2000);

    // The border pixel of the gain view is not inside it.
    MouseAt(Message::MouseMove, gain.x, y);
    MouseAt(Message::LeftUp, gain.x, y);
    EXPECT_FALSE(appState.winEstimatePaused);
}

TEST_F(MainDialog, AClickTogglesAMarkerAndADragOfTenPixelsOnlyMovesIt)
{
    AddPlayerAt(100, 100);
    appState.outcomeCounts = {5, 5, 5};
    int x = 0, y = 0;
    MarkerCentre(0, x, y);
    MouseAt(Message::MouseMove, x, y);
    ASSERT_EQ(appState.hoverPlayer, 0);
    MouseAt(Message::LeftDown, x, y);
    MouseAt(Message::MouseMove, x + 4, y);
    MouseAt(Message::MouseMove, x + 4, y + 5);  // 9 pixels in all
    MouseAt(Message::LeftUp, x + 4, y + 5);
    EXPECT_FALSE(appState.roster.at(0).playing);
    EXPECT_EQ(appState.outcomeCounts.total(), 15);  // a marker click keeps the estimate
    EXPECT_EQ(appState.roster.at(0).x, 104);        // the marker followed the few pixels
    EXPECT_EQ(appState.roster.at(0).y, 95);
    EXPECT_EQ(appState.draggedPlayer, -1);

    MarkerCentre(0, x, y);
    MouseAt(Message::MouseMove, x, y);
    MouseAt(Message::LeftDown, x, y);
    MouseAt(Message::MouseMove, x + 5, y);
    MouseAt(Message::MouseMove, x, y);  // back and forth adds up to 10
    MouseAt(Message::LeftUp, x, y);
    EXPECT_FALSE(appState.roster.at(0).playing);
}

TEST_F(MainDialog, AReleaseOverAPlacedCardTakesItBack)
{
    ChangeCard(0, true);
    ChangeCard(13, true);
    Tick(EstimateTimer);
    const GlArea& hand = appState.handCardsArea;
    // The second of two hole cards spans x 0.1 .. 0.4 of the view, y -0.6 .. 0.6.
    const int x = hand.x + static_cast<int>((1.25 / 2.0) * hand.surface.width);
    const int y = hand.y + hand.surface.height / 2;
    MouseAt(Message::MouseMove, x, y);
    EXPECT_EQ(appState.hoveredCard[HandView], 13);
    MouseAt(Message::LeftUp, x, y);
    EXPECT_EQ(appState.holeCards[0], 0);
    EXPECT_EQ(appState.holeCards[1], NoCard);
    EXPECT_EQ(appState.outcomeCounts.total(), 0);

    // Over an empty part of the view nothing changes.
    Tick(EstimateTimer);
    MouseAt(Message::MouseMove, hand.x + 2, y);
    MouseAt(Message::LeftUp, hand.x + 2, y);
    EXPECT_EQ(appState.holeCards[0], 0);
    EXPECT_EQ(appState.outcomeCounts.total(), 0);  // no hole: the estimate did not run
}

TEST_F(MainDialog, RightClicksOpenTheMenuThatFitsThePlaceAndAddAPlayer)
{
    appState.dialogOriginX = 200;
    appState.dialogOriginY = 100;
    MouseAt(Message::MouseMove, 30, 40);
    HeadlessSetMenuResponder([](const ShownMenu& menu) { return menu.items[0].id; });
    HeadlessSetModalDriver([](Window addDialog) {
        EXPECT_EQ(ControlText(addDialog, NameEditControl), "Opponent 1");
        SetControlText(addDialog, NameEditControl, "Zoë");
        MessageParams scroll;
        scroll.control = ControlWindow(addDialog, AggressionBarControl);
        scroll.id = ScrollPageRight;
        SendWindowMessage(addDialog, Message::HScroll, scroll);
        HeadlessPressKey(addDialog, HeadlessKey::Enter);
    });
    appState.outcomeCounts = {1, 1, 1};
    MouseAt(Message::RightUp, 30, 40);
    ASSERT_EQ(HeadlessMenusShown().size(), 1u);
    EXPECT_EQ(HeadlessMenusShown()[0].items.size(), 1u);
    EXPECT_EQ(HeadlessMenusShown()[0].items[0].text, "Add New");
    EXPECT_EQ(HeadlessMenusShown()[0].screenX, 230);
    EXPECT_EQ(HeadlessMenusShown()[0].screenY, 140);
    HeadlessDeliverPosted();  // the chosen command arrives after the menu closed

    ASSERT_EQ(appState.roster.count(), 1);
    const Player& p = appState.roster.at(0);
    EXPECT_EQ(p.name, "Zo\xEB");  // stored as Windows-1252
    EXPECT_EQ(p.aggression, 10);
    EXPECT_EQ(p.bluffing, 5);
    EXPECT_TRUE(p.playing);
    EXPECT_EQ(p.x, 12);
    EXPECT_EQ(p.y, 12);
    EXPECT_EQ(appState.outcomeCounts.total(), 0);
}

TEST_F(MainDialog, PlayerMenuShowsTheStateAndItsCommandsFollowTheResetRules)
{
    AddPlayerAt(60, 60, 5, 3);
    AddPlayerAt(150, 60);
    int x = 0, y = 0;
    MarkerCentre(0, x, y);
    MouseAt(Message::MouseMove, x, y);
    ShownMenu seen;
    int choice = FirstAggressionCommand + 5;  // the level it already has
    HeadlessSetMenuResponder([&](const ShownMenu& menu) {
        seen = menu;
        return choice;
    });
    appState.outcomeCounts = {1, 1, 1};
    MouseAt(Message::RightUp, x, y);
    HeadlessDeliverPosted();
    EXPECT_EQ(appState.selectedPlayer, 0);
    ASSERT_EQ(seen.items.size(), 5u);
    EXPECT_EQ(seen.items[0].text, "Playing");
    EXPECT_TRUE(seen.items[0].checked);
    EXPECT_EQ(seen.items[1].text, "Aggression");
    EXPECT_TRUE(seen.items[1].submenu[5].checked);
    EXPECT_TRUE(seen.items[2].submenu[3].checked);
    EXPECT_TRUE(seen.items[3].separator);
    EXPECT_EQ(seen.items[4].text, "Delete");
    EXPECT_EQ(appState.outcomeCounts.total(), 3);  // same level: nothing changes

    choice = FirstBluffingCommand + 9;
    MouseAt(Message::RightUp, x, y);
    HeadlessDeliverPosted();
    EXPECT_EQ(appState.roster.at(0).bluffing, 9);
    EXPECT_EQ(appState.outcomeCounts.total(), 0);

    appState.outcomeCounts = {1, 1, 1};
    choice = PlayingCommand;
    MouseAt(Message::RightUp, x, y);
    HeadlessDeliverPosted();
    EXPECT_FALSE(appState.roster.at(0).playing);
    EXPECT_EQ(appState.outcomeCounts.total(), 0);  // the menu's toggle clears the estimate

    choice = DeleteCommand;
    MouseAt(Message::RightUp, x, y);
    HeadlessDeliverPosted();
    ASSERT_EQ(appState.roster.count(), 1);
    EXPECT_EQ(appState.roster.at(0).x, 150);  // the later player moved down
}

TEST_F(MainDialog, IndexesOfDeletedPlayersAreNeverUsed)
{
    AddPlayerAt(60, 60);
    AddPlayerAt(150, 60);
    int x = 0, y = 0;
    MarkerCentre(1, x, y);
    MouseAt(Message::MouseMove, x, y);
    ASSERT_EQ(appState.hoverPlayer, 1);
    HeadlessSetMenuResponder([](const ShownMenu&) { return DeleteCommand; });
    MouseAt(Message::RightUp, x, y);
    HeadlessDeliverPosted();
    ASSERT_EQ(appState.roster.count(), 1);

    // Without a mouse move, a press and release and another right-click must not reach the
    // deleted record; the right-click offers "Add New" instead.
    MouseAt(Message::LeftDown, x, y);
    MouseAt(Message::LeftUp, x, y);
    EXPECT_TRUE(appState.roster.at(0).playing);
    HeadlessSetMenuResponder(nullptr);
    MouseAt(Message::RightUp, x, y);
    EXPECT_EQ(HeadlessMenusShown().back().items[0].text, "Add New");

    // Menu commands for a selected index beyond the roster change nothing.
    appState.selectedPlayer = 5;
    for (int command :
         {PlayingCommand, DeleteCommand, FirstAggressionCommand + 1, FirstBluffingCommand + 1}) {
        MessageParams params;
        params.id = command;
        SendWindowMessage(dialog, Message::Command, params);
    }
    EXPECT_EQ(appState.roster.count(), 1);

    // A drag whose player is deleted while the button is held ends without touching it.
    MarkerCentre(0, x, y);
    MouseAt(Message::MouseMove, x, y);
    MouseAt(Message::LeftDown, x, y);
    appState.selectedPlayer = 0;
    MessageParams del;
    del.id = DeleteCommand;
    SendWindowMessage(dialog, Message::Command, del);
    MouseAt(Message::MouseMove, x + 3, y + 3);
    MouseAt(Message::LeftUp, x + 3, y + 3);
    EXPECT_EQ(appState.roster.count(), 0);
}

TEST_F(MainDialog, ModellingCheckBoxClearsOnlyTheWinEstimate)
{
    appState.handTypeCounts[OnePair] = 7;
    appState.outcomeCounts = {3, 2, 1};
    HeadlessClickControl(dialog, ModellingCheckBox);
    EXPECT_TRUE(IsControlChecked(dialog, ModellingCheckBox));
    EXPECT_EQ(appState.outcomeCounts.total(), 0);
    EXPECT_EQ(appState.handTypeCounts[OnePair], 7);
}

TEST_F(MainDialog, DestroyDeletesTheFourContexts)
{
    DestroyWindow(dialog);
    EXPECT_EQ(appState.handCardsArea.surface.rc, nullptr);
    EXPECT_EQ(appState.tableCardsArea.surface.rc, nullptr);
    EXPECT_EQ(appState.gainArea.surface.rc, nullptr);
    EXPECT_EQ(appState.opponentsArea.surface.rc, nullptr);
    DrawCardAreas();  // nothing draws through a deleted context
}
