// Literal evaluator: the cards' ranks sorted into groups, the category read off the groups, the
// score packed from them. It shares nothing with the table builder in cards/.
#include "tests/support/reference_evaluator.h"

#include <utility>

namespace {

struct RankGroup {
    int value = 0;  // rank value, Ace 14
    int count = 0;  // cards of that rank
};

// The category in bits 20 and up, then one nibble per group value from bit 16 down.
HandScore Pack(HandType type, const RankGroup* groups, int groupCount)
{
    HandScore score = static_cast<HandScore>(type) << 20;
    for (int i = 0, shift = 16; i < groupCount; ++i, shift -= 4)
        score += groups[i].value << shift;
    return score;
}

}  // namespace

HandScore ReferenceScoreFive(const Card cards[5])
{
    // Group the present cards by rank, then order the groups: larger group first, higher rank
    // first among equals.
    RankGroup groups[5] = {};
    int groupCount = 0;
    int suits = 0;  // one bit per suit present
    for (int i = 0; i < 5; ++i) {
        if (cards[i] == NoCard)
            continue;
        suits |= 1 << SuitOf(cards[i]);
        const int value = RankOf(cards[i]) == 0 ? 14 : RankOf(cards[i]) + 1;
        int g = 0;
        while (g < groupCount && groups[g].value != value)
            ++g;
        if (g == groupCount)
            groups[groupCount++] = RankGroup{value, 0};
        ++groups[g].count;
    }
    if (groupCount == 0)
        return 0;
    const auto before = [](const RankGroup& a, const RankGroup& b) {
        return a.count != b.count ? a.count > b.count : a.value > b.value;
    };
    for (int i = 1; i < groupCount; ++i)
        for (int j = i; j > 0 && before(groups[j], groups[j - 1]); --j)
            std::swap(groups[j], groups[j - 1]);

    if (groupCount == 5) {
        // Five different ranks: a straight runs down by one from the top, or is A-5-4-3-2 with
        // the Five on top; a flush has one suit.
        const bool flush = (suits & (suits - 1)) == 0;
        int straightTop = 0;
        if (groups[0].value - groups[4].value == 4)
            straightTop = groups[0].value;
        else if (groups[0].value == 14 && groups[1].value == 5)
            straightTop = 5;
        const RankGroup top{straightTop, 1};
        if (flush && straightTop == 14)
            return Pack(RoyalFlush, nullptr, 0);
        if (flush && straightTop != 0)
            return Pack(StraightFlush, &top, 1);
        if (flush)
            return Pack(Flush, groups, 5);
        if (straightTop != 0)
            return Pack(Straight, &top, 1);
    }
    const int first = groups[0].count;
    const int second = groupCount > 1 ? groups[1].count : 0;
    HandType type = HighCard;
    if (first == 4)
        type = FourOfAKind;
    else if (first == 3)
        type = second == 2 ? FullHouse : ThreeOfAKind;
    else if (first == 2)
        type = second == 2 ? TwoPairs : OnePair;
    return Pack(type, groups, groupCount);
}

HandScore ReferenceEvaluateTexas(const Card hole[4], const Card board[5], std::int32_t threshold)
{
    const Card seven[7] = {hole[0], hole[1], board[0], board[1], board[2], board[3], board[4]};
    HandScore best = -1;
    for (int a = 0; a < 3; ++a)
        for (int b = a + 1; b < 4; ++b)
            for (int c = b + 1; c < 5; ++c)
                for (int d = c + 1; d < 6; ++d)
                    for (int e = d + 1; e < 7; ++e) {
                        const Card five[5] = {seven[a], seven[b], seven[c], seven[d], seven[e]};
                        const HandScore s = ReferenceScoreFive(five);
                        if (s > best) {
                            if (s > threshold)
                                return s;
                            best = s;
                        }
                    }
    return best;
}

HandScore ReferenceEvaluateOmaha(const Card hole[4], const Card board[5], std::int32_t threshold)
{
    HandScore best = -1;
    for (int a = 0; a < 3; ++a)
        for (int b = a + 1; b < 4; ++b)
            for (int c = 0; c < 3; ++c)
                for (int d = c + 1; d < 4; ++d)
                    for (int e = d + 1; e < 5; ++e) {
                        const Card five[5] = {hole[a], hole[b], board[c], board[d], board[e]};
                        const HandScore s = ReferenceScoreFive(five);
                        if (s > best) {
                            if (s > threshold)
                                return s;
                            best = s;
                        }
                    }
    return best;
}
