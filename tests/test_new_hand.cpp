#include "app/new_hand.h"
#include "app/result_bars.h"
#include "odds/screen.h"
#include "platform/headless/headless.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

int paints = 0;

int CountingProc(Window, Message message, const MessageParams&)
{
    if (message == Message::Paint)
        ++paints;
    return 0;
}

class NewHandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HeadlessReset();
        ResetAppState(appState);
        CreateDrawingObjects();
        dialog = CreateModelessDialog(101, nullptr, CountingProc);
        appState.mainDialog = dialog;
        paints = 0;
    }
    Window dialog = nullptr;
};

}  // namespace

TEST_F(NewHandTest, EmptiesTheDealAndShowsZeroes)
{
    appState.holeCards = {0, 13, NoCard, NoCard};
    appState.tableCards = {1, 2, 3, NoCard, NoCard};
    appState.handTypeCounts.fill(100);
    appState.outcomeCounts = {6, 1, 3};
    Player p;
    p.playing = false;
    appState.roster.append(p);
    appState.roster.append(p);

    NewHand(dialog, appState);

    for (Card c : appState.holeCards)
        EXPECT_EQ(c, NoCard);
    for (Card c : appState.tableCards)
        EXPECT_EQ(c, NoCard);
    EXPECT_EQ(ControlText(dialog, WinShareControl), "0%");
    EXPECT_EQ(ControlText(dialog, TieShareControl), "0%");
    EXPECT_EQ(ControlText(dialog, LossShareControl), "0%");
    for (int i = 0; i < HandTypeCount; ++i)
        EXPECT_EQ(ControlText(dialog, FirstPercentControl + i), "0%");
    EXPECT_EQ(ControlText(dialog, HandTypeControl), "No Hand");
    EXPECT_TRUE(appState.roster.at(0).playing);
    EXPECT_TRUE(appState.roster.at(1).playing);
    EXPECT_EQ(appState.outcomeCounts.total(), 0);

    // The repaint is an internal paint request, delivered by the loop.
    EXPECT_EQ(paints, 0);
    EXPECT_EQ(HeadlessDeliverPaints(), 1);
    EXPECT_EQ(paints, 1);
}

TEST_F(NewHandTest, TwoNewHandsInOneSecondRepeatTheSamples)
{
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
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(first[i], second[i]);
}

TEST_F(NewHandTest, RefreshDescribesTheHandAndTheOutcomes)
{
    appState.holeCards = {12, 25, NoCard, NoCard};  // two Kings
    appState.outcomeCounts = {600, 0, 400};
    RefreshResults(dialog, appState);
    EXPECT_EQ(ControlText(dialog, HandTypeControl), "Pair of Kings");
    EXPECT_EQ(ControlText(dialog, WinShareControl), "60%");
    EXPECT_EQ(ControlText(dialog, TieShareControl), "0%");
    EXPECT_EQ(ControlText(dialog, LossShareControl), "40%");
    EXPECT_EQ(HeadlessPaintRequests(dialog), 1);

    // Texas reads only the first two hole slots; Omaha all four, two at a time.
    appState.holeCards = {12, 1, 25, 14};  // King, Two, King, Two
    RefreshResults(dialog, appState);
    EXPECT_EQ(ControlText(dialog, HandTypeControl), "High Card (King)");
    appState.gameVariant = OmahaHoldem;
    RefreshResults(dialog, appState);
    EXPECT_EQ(ControlText(dialog, HandTypeControl), "Pair of Kings");
}
