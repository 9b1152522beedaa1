#include "app/new_hand.h"
#include "app/state.h"
#include "odds/hand_description.h"
#include "odds/screen.h"
#include "platform/headless/headless.h"

#include <gtest/gtest.h>

TEST(HandDescription, TellsEveryCategoryInItsOwnWords)
{
    EXPECT_EQ(HandDescription(0x900000), "Royal Flush");
    EXPECT_EQ(HandDescription(0x850000), "Straight Flush on Five");
    EXPECT_EQ(HandDescription(0x8D0000), "Straight Flush on King");
    EXPECT_EQ(HandDescription(0x7ED000), "Four of a kind (Aces) plus King");
    EXPECT_EQ(HandDescription(0x63E000), "Full House, Threes and Aces");
    EXPECT_EQ(HandDescription(0x500000), "Simple flush");
    EXPECT_EQ(HandDescription(0x5EDCB9), "Simple flush");
    EXPECT_EQ(HandDescription(0x450000), "Straight, Five high");
    EXPECT_EQ(HandDescription(0x4E0000), "Straight, Ace high");
    EXPECT_EQ(HandDescription(0x3D0000), "Three of a kind (Kings)");
    EXPECT_EQ(HandDescription(0x2DC200), "Two pairs, Kings and Queens");
    EXPECT_EQ(HandDescription(0x1E0000), "Pair of Aces");
    EXPECT_EQ(HandDescription(0x160000), "Pair of Sixes");
    EXPECT_EQ(HandDescription(0), "No Hand");
    EXPECT_EQ(HandDescription(-5), "No Hand");
    EXPECT_EQ(HandDescription(0x0D0000), "High Card (King)");
    // A four of a kind without a kicker (four cards known) names the unknown rank.
    EXPECT_EQ(HandDescription(0x7E0000), "Four of a kind (Aces) plus <unknown>");
}

TEST(HandDescription, RankNamesCoverEveryNibbleAndReportTheImpossibleOnes)
{
    HeadlessReset();
    std::string text;
    AppendRankName(text, 1, false);
    AppendRankName(text, 14, true);
    AppendRankName(text, 0, true);
    EXPECT_EQ(text, "AceAces<unknown>");
    EXPECT_TRUE(HeadlessMessageBoxes().empty());

    // A nibble of 15 never comes from the evaluator; it is reported and the sentence goes on.
    EXPECT_EQ(HandDescription(0x1F0000), "Pair of ");
    ASSERT_EQ(HeadlessMessageBoxes().size(), 1u);
    EXPECT_EQ(HeadlessMessageBoxes()[0].text, "ERROR CARD TYPE SCORE 15");
    EXPECT_EQ(HeadlessMessageBoxes()[0].caption, "Error!");
    EXPECT_EQ(HeadlessMessageBoxes()[0].owner, appState.mainDialog);
}

TEST(HandDescription, DescribeHandWritesTheControl)
{
    HeadlessReset();
    Window dialog = HeadlessCreateWindow(nullptr, 100, 100);
    HeadlessAddControl(dialog, HandTypeControl, 0, 0, 10, 10, "Hand type");
    DescribeHand(dialog, HandTypeControl, 0x2DC200);
    EXPECT_EQ(ControlText(dialog, HandTypeControl), "Two pairs, Kings and Queens");
    DescribeHand(dialog, 9999, 0x2DC200);  // a missing control is ignored
}
