#include "cards/card.h"
#include "opponents/roster.h"

#include <gtest/gtest.h>

TEST(Roster, KeepsCopiesAndEraseMovesLaterPlayersDownWithTheirFields)
{
    PlayerRoster roster;
    Player p;
    for (int i = 0; i < 5; ++i) {
        p.name = std::string("P").append(std::to_string(i));
        p.bluffing = i;
        p.x = 20 + i;
        p.playing = i % 2 == 0;
        ASSERT_TRUE(roster.append(p));
    }
    p.name = "changed";  // the roster holds its own copy
    ASSERT_TRUE(roster.eraseAt(1));
    ASSERT_EQ(roster.count(), 4);
    for (int i = 0; i < 4; ++i) {
        const int original = i == 0 ? 0 : i + 1;
        EXPECT_EQ(roster.at(i).name, std::string("P").append(std::to_string(original)));
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
    EXPECT_FALSE(roster.contains(-1));
    roster.clear();
    EXPECT_EQ(roster.count(), 0);
}

TEST(Roster, InitialPlayersLandInsideTheViewInDrawOrder)
{
    // x1, y1, x2, y2, ...: 12 + value * (size - 24) / 32768; a view 24 pixels wide draws no x.
    for (auto [width, height] : {std::pair{297, 198}, std::pair{24, 100}}) {
        SeedRandom(4242);
        PlayerRoster roster;
        CreateInitialRoster(roster, width, height);
        ASSERT_EQ(roster.count(), 5);
        SeedRandom(4242);
        for (int i = 0; i < 5; ++i) {
            const Player& p = roster.at(i);
            EXPECT_EQ(p.name, std::string("Player ").append(std::to_string(i + 1)));
            EXPECT_TRUE(p.bluffing == 5 && p.aggression == 5 && p.playing);
            EXPECT_EQ(p.x, width == 24
                               ? 12
                               : 12 + static_cast<int>(NextRandom() * (width - 24) / 32768.0));
            EXPECT_EQ(p.y, 12 + static_cast<int>(NextRandom() * (height - 24) / 32768.0));
            EXPECT_TRUE(p.x >= 12 && p.x < std::max(width - 12, 13) && p.y >= 12 &&
                        p.y < height - 12);
        }
    }
}
