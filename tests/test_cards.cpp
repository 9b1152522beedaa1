#include "cards/card.h"

#include <gtest/gtest.h>

#include <random>

TEST(Generator, RepeatsTheFixedSequenceAfterSeeding)
{
    SeedRandom(1);
    EXPECT_EQ(NextRandom(), 41);
    EXPECT_EQ(NextRandom(), 18467);
    EXPECT_EQ(NextRandom(), 6334);

    // Reseeding with the same value repeats the samples that follow.
    SeedRandom(12345);
    int first[8];
    for (int& v : first)
        v = NextRandom();
    SeedRandom(12345);
    for (int v : first)
        EXPECT_EQ(NextRandom(), v);
}

TEST(Generator, RandomCardCoversTheDeckEvenlyAndNothingElse)
{
    SeedRandom(7);
    int seen[52] = {};
    for (int i = 0; i < 52 * 2000; ++i) {
        const Card card = RandomCard();
        ASSERT_GE(card, 0);
        ASSERT_LT(card, 52);
        ++seen[card];
    }
    // 52/32768 maps exactly 630 or 631 generator values onto each card: no card is starved.
    for (int count : seen) {
        EXPECT_GT(count, 1700);
        EXPECT_LT(count, 2300);
    }
    // The extremes of the generator: 32767 gives 51 and 0 gives 0.
    EXPECT_EQ(CardOfState(0x7FFFu << 16), 51);
    EXPECT_EQ(CardOfState(0xFFFFu), 0);
}

TEST(Generator, DrawUnusedCardNeverRepeatsAMarkedCard)
{
    SeedRandom(99);
    UsedCards used;
    for (Card c = 0; c < 50; ++c)
        used[c] = 1;  // only 50 and 51 are free
    const Card a = DrawUnusedCard(used);
    const Card b = DrawUnusedCard(used);
    EXPECT_NE(a, b);
    EXPECT_TRUE((a == 50 || a == 51) && (b == 50 || b == 51));
    EXPECT_EQ(used[50], 1);
    EXPECT_EQ(used[51], 1);
}

TEST(Generator, DrawUnusedCardDrawsExactlyAsOneCardAtATime)
{
    // The plain rule: RandomCard again and again until the card is free. Crowded decks make
    // long runs of rejected draws, where drawing several steps at once could slip.
    std::mt19937 pick(11);
    for (int trial = 0; trial < 2000; ++trial) {
        UsedCards fast;
        for (Card c = 0; c < 52; ++c)
            fast[c] = (pick() % 10) < static_cast<unsigned>(trial % 10) ? 1 : 0;
        fast[static_cast<Card>(pick() % 52)] = 0;  // at least one card is free
        UsedCards plain = fast;
        const std::uint32_t seed = pick();
        SeedRandom(seed);
        const Card drawn = DrawUnusedCard(fast);
        const std::uint32_t after = randomState;
        SeedRandom(seed);
        Card expected = RandomCard();
        while (plain[expected] == 1)
            expected = RandomCard();
        ASSERT_EQ(drawn, expected) << trial;
        ASSERT_EQ(after, randomState) << trial;
        ASSERT_EQ(fast[drawn], 1);
    }
}

TEST(Cards, RanksSuitsAndScoresDecodeAsDocumented)
{
    EXPECT_EQ(RankOf(0), 0);
    EXPECT_EQ(RankValue(RankOf(0)), 14);  // the Ace of suit 0 outranks the King
    EXPECT_EQ(RankValue(RankOf(12)), 13);
    EXPECT_EQ(RankValue(-1), 0);
    EXPECT_EQ(SuitOf(51), 3);
    EXPECT_EQ(RankOf(51), 12);
    EXPECT_EQ(HandTypeOf(0x900000), RoyalFlush);
    EXPECT_EQ(HandTypeOf(0x8FFFFF), StraightFlush);
    EXPECT_EQ(HandTypeOf(0), HighCard);
    EXPECT_EQ(CategoryScore(OnePair), 0x100000);
    EXPECT_EQ(HandTypeOf(CategoryScore(FullHouse) + 0xFFFFF), FullHouse);
}
