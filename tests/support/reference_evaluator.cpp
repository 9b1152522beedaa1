// Literal evaluator: every step of the scoring done as plainly as possible.
#include "tests/support/reference_evaluator.h"

namespace {

// Appends the rank values of the ranks with count 1 from nibble `shift` downward, Ace first.
int FillKickers(const int counts[13], int score, int shift)
{
    if (counts[0] == 1 && shift >= 0) {
        score += 14 << shift;
        shift -= 4;
    }
    for (int r = 12; r >= 1 && shift >= 0; --r) {
        if (counts[r] == 1) {
            score += (r + 1) << shift;
            shift -= 4;
        }
    }
    return score;
}

}  // namespace

HandScore ReferenceScoreFive(const Card cards[5])
{
    int counts[13] = {};
    int present = 0;
    int largest = 1;
    int largestRank = -1;
    int firstSuit = -1;
    bool oneSuit = true;
    for (int i = 0; i < 5; ++i) {
        const Card card = cards[i];
        if (card == NoCard)
            continue;
        ++present;
        const int rank = RankOf(card);
        if (++counts[rank] > largest) {
            largest = counts[rank];
            largestRank = rank;
        }
        if (firstSuit < 0)
            firstSuit = SuitOf(card);
        else if (SuitOf(card) != firstSuit)
            oneSuit = false;
    }
    if (present == 0)
        return 0;
    const bool flush = present == 5 && oneSuit;

    if (largest == 4) {
        int kicker = 0;
        for (int r = 0; r < 13; ++r) {
            if (counts[r] == 1) {
                kicker = RankValue(r);
                break;
            }
        }
        return 0x700000 + (RankValue(largestRank) << 16) + (kicker << 12);
    }

    int straightTop = 0;
    bool topStraight = false;
    if (counts[0] == 1 && counts[9] == 1 && counts[10] == 1 && counts[11] == 1 && counts[12] == 1) {
        straightTop = 14;
        topStraight = true;
    } else if (present == 5) {
        int run = 0;
        for (int r = 0; r < 13; ++r) {
            if (counts[r] > 1)
                break;
            if (counts[r] == 0) {
                if (run > 0)
                    break;
                continue;
            }
            if (++run == 5) {
                straightTop = RankValue(r);
                break;
            }
        }
    }

    if (flush) {
        if (topStraight)
            return 0x900000;
        if (straightTop != 0)
            return 0x800000 + (straightTop << 16);
        return FillKickers(counts, 0x500000, 16);
    }
    if (straightTop != 0 && present == 5)
        return 0x400000 + (straightTop << 16);

    if (largest == 3) {
        for (int r = 0; r < 13; ++r) {
            if (counts[r] == 2)
                return 0x600000 + (RankValue(largestRank) << 16) + (RankValue(r) << 12);
        }
        return FillKickers(counts, 0x300000 + (RankValue(largestRank) << 16), 12);
    }
    if (largest == 2) {
        int second = -1;
        for (int r = 0; r < 13; ++r) {
            if (counts[r] == 2 && r != largestRank)
                second = r;
        }
        if (second < 0)
            return FillKickers(counts, 0x100000 + (RankValue(largestRank) << 16), 12);
        int high = RankValue(largestRank);
        int low = RankValue(second);
        if (low > high) {
            const int swap = high;
            high = low;
            low = swap;
        }
        int kicker = 0;
        for (int r = 0; r < 13; ++r) {
            if (counts[r] == 1) {
                kicker = RankValue(r);
                break;
            }
        }
        return 0x200000 + (high << 16) + (low << 12) + (kicker << 8);
    }
    return FillKickers(counts, 0, 16);
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
