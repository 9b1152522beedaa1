#include "cards/card.h"
#include "opponents/roster.h"

#include <gtest/gtest.h>

namespace {

Player Named(const std::string& name, int x = 12)
{
    Player p;
    p.name = name;
    p.x = x;
    return p;
}

}  // namespace

TEST(Roster, AppendCopiesAndGrowsByHalf)
{
    PlayerRoster roster;
    EXPECT_EQ(roster.count(), 0);
    EXPECT_EQ(roster.capacity(), 0);

    const int expected[] = {1, 2, 3, 4, 6, 6, 9};
    Player p = Named("a");
    for (int capacity : expected) {
        ASSERT_TRUE(roster.append(p));
        EXPECT_EQ(roster.capacity(), capacity);
    }
    EXPECT_EQ(roster.count(), 7);

    // The roster holds its own copy: changing the caller's record later changes nothing.
    p.name = "changed";
    p.aggression = 9;
    EXPECT_EQ(roster.at(6).name, "a");
    EXPECT_EQ(roster.at(6).aggression, 5);

    // Names need not be unique and may be empty.
    roster.append(Named(""));
    roster.append(Named(""));
    EXPECT_EQ(roster.count(), 9);
}

TEST(Roster, EraseMovesLaterPlayersDownAndKeepsTheirFields)
{
    PlayerRoster roster;
    for (int i = 0; i < 5; ++i) {
        Player p = Named(std::string("P").append(std::to_string(i)), 20 + i);
        p.bluffing = i;
        p.playing = i % 2 == 0;
        roster.append(p);
    }
    const int capacity = roster.capacity();
    ASSERT_TRUE(roster.eraseAt(1));
    ASSERT_EQ(roster.count(), 4);
    EXPECT_EQ(roster.capacity(), capacity);  // erasing never releases storage
    const char* names[] = {"P0", "P2", "P3", "P4"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(roster.at(i).name, names[i]);
        const int original = i == 0 ? 0 : i + 1;
        EXPECT_EQ(roster.at(i).bluffing, original);
        EXPECT_EQ(roster.at(i).x, 20 + original);
        EXPECT_EQ(roster.at(i).playing, original % 2 == 0);
    }

    // Indexes outside the roster are refused without touching it.
    EXPECT_FALSE(roster.eraseAt(-1));
    EXPECT_FALSE(roster.eraseAt(4));
    EXPECT_EQ(roster.count(), 4);
    EXPECT_FALSE(roster.contains(4));
    EXPECT_TRUE(roster.contains(3));

    // Erasing everything leaves an empty roster that still appends.
    while (roster.count() > 0)
        roster.eraseAt(0);
    EXPECT_TRUE(roster.append(Named("again")));
    EXPECT_EQ(roster.at(0).name, "again");

    roster.clear();
    EXPECT_EQ(roster.count(), 0);
    EXPECT_EQ(roster.capacity(), 0);
}

TEST(Roster, InitialPlayersLandInsideTheViewInDrawOrder)
{
    const int width = 297, height = 198;
    SeedRandom(4242);
    PlayerRoster roster;
    CreateInitialRoster(roster, width, height);
    ASSERT_EQ(roster.count(), 5);

    SeedRandom(4242);  // the same draws, in the order x1, y1, x2, y2, ...
    for (int i = 0; i < 5; ++i) {
        const Player& p = roster.at(i);
        EXPECT_EQ(p.name, std::string("Player ").append(std::to_string(i + 1)));
        EXPECT_EQ(p.bluffing, 5);
        EXPECT_EQ(p.aggression, 5);
        EXPECT_TRUE(p.playing);
        const int rx = NextRandom();
        const int ry = NextRandom();
        EXPECT_EQ(p.x, 12 + static_cast<int>(rx * (width - 24) / 32768.0));
        EXPECT_EQ(p.y, 12 + static_cast<int>(ry * (height - 24) / 32768.0));
        EXPECT_GE(p.x, 12);
        EXPECT_LT(p.x, width - 12);
        EXPECT_GE(p.y, 12);
        EXPECT_LT(p.y, height - 12);
    }
}

TEST(Roster, AViewExactly24PixelsWideDrawsOnlyTheHeights)
{
    SeedRandom(5);
    PlayerRoster roster;
    CreateInitialRoster(roster, 24, 100);
    SeedRandom(5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(roster.at(i).x, 12);
        EXPECT_EQ(roster.at(i).y, 12 + static_cast<int>(NextRandom() * 76 / 32768.0));
    }
}
