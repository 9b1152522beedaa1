#include "tests/support/win_estimate_reference.h"

#include "cards/evaluator.h"

ExactShares ExactHeadsUpShares(const Card hole[2], const Card board[5])
{
    const Card heroHole[4] = {hole[0], hole[1], NoCard, NoCard};
    bool used[CardCount] = {};
    used[hole[0]] = used[hole[1]] = true;
    Card full[5];
    int missing[5] = {};
    int missingCount = 0;
    for (int i = 0; i < 5; ++i) {
        full[i] = board[i];
        if (board[i] == NoCard)
            missing[missingCount++] = i;
        else
            used[board[i]] = true;
    }

    double wins = 0;
    double ties = 0;
    double deals = 0;
    // Every board completion (cards in increasing order fill the missing slots), then every
    // opponent pair of the cards left.
    auto showdowns = [&]() {
        const HandScore hero = EvaluateTexas(heroHole, full, NoThreshold);
        for (Card a = 0; a < CardCount; ++a) {
            if (used[a])
                continue;
            for (Card b = a + 1; b < CardCount; ++b) {
                if (used[b])
                    continue;
                const Card other[4] = {a, b, NoCard, NoCard};
                const HandScore s = EvaluateTexas(other, full, NoThreshold);
                wins += hero > s;
                ties += hero == s;
                deals += 1;
            }
        }
    };
    // Up to two missing slots: a skipped loop level stands for a slot that is already known.
    const Card firstEnd = missingCount >= 1 ? CardCount : 1;
    for (Card c = 0; c < firstEnd; ++c) {
        if (missingCount >= 1) {
            if (used[c])
                continue;
            used[c] = true;
            full[missing[0]] = c;
        }
        const Card secondEnd = missingCount >= 2 ? CardCount : c + 2;
        for (Card d = c + 1; d < secondEnd; ++d) {
            if (missingCount >= 2) {
                if (used[d])
                    continue;
                used[d] = true;
                full[missing[1]] = d;
            }
            showdowns();
            if (missingCount >= 2)
                used[d] = false;
        }
        if (missingCount >= 1)
            used[c] = false;
    }
    return {wins / deals, ties / deals, (deals - wins - ties) / deals};
}
