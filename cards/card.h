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

// The lowest score of a category: the category with every rank nibble zero.
constexpr HandScore CategoryScore(HandType type)
{
    return static_cast<HandScore>(type) << 20;
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
// These two constants are the generator's only definition; everything else is derived here.
inline constexpr std::uint32_t GeneratorMultiplier = 214013u;
inline constexpr std::uint32_t GeneratorIncrement = 2531011u;

inline std::uint32_t randomState = 1;

// k steps of the generator as one: state * a^k + c * (a^(k-1) + ... + a + 1), modulo 2^32.
struct GeneratorJump {
    std::uint32_t multiplier = 1;
    std::uint32_t increment = 0;

    constexpr std::uint32_t operator()(std::uint32_t state) const
    {
        return state * multiplier + increment;
    }
};

// The jumps of 0, 1, ..., N - 1 steps, entry k being k steps as one. Every table of jumps the
// draws use is made here.
template <std::size_t N> constexpr std::array<GeneratorJump, N> MakeJumpTable()
{
    std::array<GeneratorJump, N> jumps{};
    for (std::size_t k = 1; k < N; ++k) {
        jumps[k].multiplier = jumps[k - 1].multiplier * GeneratorMultiplier;
        jumps[k].increment = jumps[k - 1].increment * GeneratorMultiplier + GeneratorIncrement;
    }
    return jumps;
}

// The generator's result for the state it has just stepped to: 0..32767.
constexpr int ValueOfState(std::uint32_t state)
{
    return static_cast<int>((state >> 16) & 0x7FFFu);
}

inline void SeedRandom(std::uint32_t seed)
{
    randomState = seed;
}

// Returns 0..32767.
inline int NextRandom()
{
    randomState = randomState * GeneratorMultiplier + GeneratorIncrement;
    return ValueOfState(randomState);
}

// A uniformly drawn card 0..51 from one generator value: value * 52 / 32768, truncated.
inline Card RandomCard()
{
    return (NextRandom() * 52) >> 15;
}

// The card of a generator state: its 15-bit value times 52 / 32768, truncated.
constexpr Card CardOfState(std::uint32_t state)
{
    return static_cast<Card>((static_cast<std::uint32_t>(ValueOfState(state)) * 52u) >> 15);
}

// Draws from the generator state `state` until isUsed(card) is false; returns that card and
// leaves `state` where the draw ended. Exactly RandomCard again and again.
//
// Late in a crowded deal most draws hit used cards, and one step of the generator waits for the
// one before it. So four steps are worked out at once from the same state (the generator jumps
// k steps as state * a^k + c_k) and tried in order: the cards drawn, and the state left behind,
// are exactly those of drawing one at a time.
template <class IsUsed> inline Card DrawFreeCard(std::uint32_t& state, IsUsed isUsed)
{
    constexpr auto Jumps = MakeJumpTable<5>();
    for (;;) {
        const std::uint32_t steps[4] = {Jumps[1](state), Jumps[2](state), Jumps[3](state),
                                        Jumps[4](state)};
        for (std::uint32_t next : steps) {
            const Card card = CardOfState(next);
            if (!isUsed(card)) {
                state = next;
                return card;
            }
        }
        state = steps[3];
    }
}

// Draws until a free card comes up, marks it used and returns it. The caller guarantees that a
// free card exists; with all 52 marked this would never return.
inline Card DrawUnusedCard(UsedCards& used)
{
    const Card card = DrawFreeCard(randomState, [&](Card c) { return used[c] == 1; });
    used[card] = 1;
    return card;
}
