// Cards, hand scores and the one random source of the program.
//
// A card is a plain integer 0..51: suit = card / 13, rank index = card % 13 with the Ace as
// rank index 0 (it still outranks the King everywhere through RankValue). A hand score packs
// the category in bits 20 and up and five 4-bit rank values below it, so scores compare as
// integers. Everything here is header-only so that the samplers' hot loops inline it.
#pragma once

#include <array>
#include <cstdint>

using Card = std::int32_t;
inline constexpr Card NoCard = -1;  // an empty slot; every consumer tests for exactly -1
inline constexpr int CardCount = 52;

constexpr int SuitOf(Card card)
{
    return card / 13;
}

constexpr int RankOf(Card card)
{
    return card % 13;
}

// Rank value used in comparisons and inside scores: Ace 14, Two..King 2..13, none (-1) 0.
constexpr int RankValue(int rankIndex)
{
    return rankIndex < 0 ? 0 : (rankIndex == 0 ? 14 : rankIndex + 1);
}

using HandScore = std::int32_t;  // never negative; higher wins, equal ties

enum HandType : std::int32_t {
    HighCard = 0,
    OnePair = 1,
    TwoPairs = 2,
    ThreeOfAKind = 3,
    Straight = 4,
    Flush = 5,
    FullHouse = 6,
    FourOfAKind = 7,
    StraightFlush = 8,
    RoyalFlush = 9,
};
inline constexpr int HandTypeCount = 10;

constexpr HandType HandTypeOf(HandScore score)
{
    return static_cast<HandType>(score >> 20);
}

// One flag per card: 1 while the card is in play in the sample being built, 0 when free.
struct UsedCards {
    std::array<std::int32_t, CardCount> flag{};  // indexed by Card

    std::int32_t& operator[](Card card) { return flag[static_cast<std::size_t>(card)]; }
    std::int32_t operator[](Card card) const { return flag[static_cast<std::size_t>(card)]; }
    void clear() { flag.fill(0); }
};

// The 15-bit linear congruential generator that stands in for the C library's rand and srand:
// state = state * 214013 + 2531011 (mod 2^32), result (state >> 16) & 0x7FFF. The state is 1
// when the process starts, so everything drawn before the first reseed repeats on every run.
inline std::uint32_t randomState = 1;

inline void SeedRandom(std::uint32_t seed)
{
    randomState = seed;
}

// Returns 0..32767.
inline int NextRandom()
{
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int>((randomState >> 16) & 0x7FFFu);
}

// A uniformly drawn card 0..51 from one generator value: value * 52 / 32768, truncated.
inline Card RandomCard()
{
    return (NextRandom() * 52) >> 15;
}

// Draws until a free card comes up, marks it used and returns it. The caller guarantees that a
// free card exists; with all 52 marked this would never return.
inline Card DrawUnusedCard(UsedCards& used)
{
    // The generator's state is kept in a register while drawing: the flags are 32-bit integers
    // that could alias it, so the compiler would otherwise store and reload it on every step.
    std::uint32_t state = randomState;
    Card card;
    do {
        state = state * 214013u + 2531011u;
        card = static_cast<Card>((((state >> 16) & 0x7FFFu) * 52u) >> 15);
    } while (used[card] == 1);
    randomState = state;
    used[card] = 1;
    return card;
}
