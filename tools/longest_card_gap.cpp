// Offline check of the bound that cards/free_step_list.h relies on (not part of the build).
//
// Steps the generator through its whole period and prints, over every card, the most steps from
// one appearance of the card to its next. A card depends only on bits 16..30 of the state, that
// is on the state modulo 2^31, whose period is 2^31 steps from any start, so the pass covers
// every state. The answer is 1077: between two free steps of any set of free cards lie at most
// 1077 steps.
// Build and run by hand:
//   g++ -std=c++20 -O2 -o /tmp/longest_card_gap tools/longest_card_gap.cpp && /tmp/longest_card_gap
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>

namespace {

// The program's generator and card draw, as cards/card.h has them (tools/ stand alone).
constexpr std::uint32_t GeneratorMultiplier = 214013u;
constexpr std::uint32_t GeneratorIncrement = 2531011u;
constexpr std::size_t CardCount = 52;

constexpr std::size_t CardOfState(std::uint32_t state)
{
    return (((state >> 16) & 0x7FFFu) * 52u) >> 15;
}

}  // namespace

int main()
{
    constexpr std::uint64_t Period = std::uint64_t{1} << 31;
    constexpr std::uint64_t Unseen = ~std::uint64_t{0};
    std::array<std::uint64_t, CardCount> first{};
    std::array<std::uint64_t, CardCount> last{};
    std::array<std::uint64_t, CardCount> longest{};
    first.fill(Unseen);
    std::uint32_t state = 0;
    for (std::uint64_t step = 1; step <= Period; ++step) {
        state = state * GeneratorMultiplier + GeneratorIncrement;
        const std::size_t card = CardOfState(state);
        if (first[card] == Unseen)
            first[card] = step;
        else if (step - last[card] > longest[card])
            longest[card] = step - last[card];
        last[card] = step;
    }
    std::uint64_t worst = 0;
    for (std::size_t card = 0; card < CardCount; ++card) {
        // The gap that wraps around from the period's end to its start.
        const std::uint64_t wrapped = Period - last[card] + first[card];
        worst = std::max({worst, longest[card], wrapped});
    }
    std::printf("longest run of steps without a card: %llu\n",
                static_cast<unsigned long long>(worst));
}
