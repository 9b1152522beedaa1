#include "odds/final_hands.h"

#include "app/state.h"
#include "odds/evaluate_hand.h"
#include "odds/hand_description.h"
#include "odds/screen.h"

namespace {

void CountHand(const Card hole[4], const Card board[5])
{
    ++appState.handTypeCounts[HandTypeOf(EvaluateHand(hole, board, NoThreshold))];
}

void RedrawBars()
{
    RedrawResultBars();
}

// Every river card (position 4) after a known flop and turn: 46 in Texas, 44 in
// Omaha.
void EnumerateRiver(const Card hole[4], Card board[5], const UsedCards& used)
{
    for (Card c = 0; c < CardCount; ++c) {
        if (used[c])
            continue;
        board[4] = c;
        CountHand(hole, board);
    }
}

// Every ordered pair of turn and river after a known flop, so each unordered completion counts
// twice (47 x 46 in Texas, 45 x 44 in Omaha). The turn card is not marked; the inequality
// keeps it off the river. The bars follow after each turn card.
void EnumerateTurnAndRiver(const Card hole[4], Card board[5], const UsedCards& used)
{
    for (Card c1 = 0; c1 < CardCount; ++c1) {
        if (used[c1])
            continue;
        board[3] = c1;
        for (Card c2 = 0; c2 < CardCount; ++c2) {
            if (used[c2] || c2 == c1)
                continue;
            board[4] = c2;
            CountHand(hole, board);
        }
        RedrawBars();
    }
}

}  // namespace

void AdvanceFinalHandDistribution()
{
    SetMainDialogText(BestPossibleControl, HandDescription(BestPossibleHand()));

    const int holeCount = HoleCount(appState.gameVariant);
    UsedCards used;
    bool holeComplete = true;
    for (int i = 0; i < holeCount; ++i) {
        const Card card = appState.holeCards[static_cast<std::size_t>(i)];
        if (card == NoCard)
            holeComplete = false;
        else
            used[card] = 1;
    }

    // The known board cards move to the front in slot order, whatever gaps the user left.
    Card board[5] = {NoCard, NoCard, NoCard, NoCard, NoCard};
    int k = 0;
    for (Card card : appState.tableCards) {
        if (card == NoCard)
            continue;
        board[k++] = card;
        used[card] = 1;
    }

    const Card* hole = appState.holeCards.data();
    if (!holeComplete || k < 3) {
        SampleFinalHands(k, board, used, hole);  // redraws the bars itself
        return;
    }
    if (k == 5)
        CountHand(hole, appState.tableCards.data());
    else if (k == 4)
        EnumerateRiver(hole, board, used);
    else
        EnumerateTurnAndRiver(hole, board, used);
    RedrawBars();
}

void SampleFinalHands(int k, Card board[5], UsedCards& used, const Card hole[4])
{
    const int holeCount = HoleCount(appState.gameVariant);
    Card sampleHole[4] = {NoCard, NoCard, NoCard, NoCard};
    int m = 0;
    for (int i = 0; i < holeCount; ++i)
        if (hole[i] != NoCard)
            sampleHole[m++] = hole[i];

    // The draw order (missing hole cards, then missing board cards) is part of the estimate:
    // a given generator state always yields the same batch.
    for (int i = 0; i < FinalHandBatchSize; ++i) {
        for (int j = m; j < holeCount; ++j)
            sampleHole[j] = DrawUnusedCard(used);
        for (int j = k; j < 5; ++j)
            board[j] = DrawUnusedCard(used);
        CountHand(sampleHole, board);
        for (int j = k; j < 5; ++j)
            used[board[j]] = 0;
        for (int j = m; j < holeCount; ++j)
            used[sampleHole[j]] = 0;
        if (i % FinalHandRedrawEvery == 0)
            RedrawBars();
    }
    RedrawBars();
}

// ---------------------------------------------------------------------------------------------
// Best possible hand
// ---------------------------------------------------------------------------------------------

namespace {

constexpr HandScore TopNibble(int rankValue)
{
    return rankValue << 16;
}

// The known cards as one pool: per rank, per suit, and per suit and rank.
struct KnownPool {
    int rankCount[13] = {};
    int suitCount[4] = {};
    bool held[4][13] = {};  // [suit][rank index]
    int highest = 0;        // highest rank value known, Ace 14; 0 with no card

    void add(Card card)
    {
        const int rank = RankOf(card);
        ++rankCount[rank];
        ++suitCount[SuitOf(card)];
        held[SuitOf(card)][rank] = true;
        if (RankValue(rank) > highest)
            highest = RankValue(rank);
    }

    // Known cards of the suit among the rank indexes of the window.
    int suitedInWindow(int suit, const int* ranks, int count) const
    {
        int n = 0;
        for (int i = 0; i < count; ++i)
            n += held[suit][ranks[i]] ? 1 : 0;
        return n;
    }

    // Ranks of the window of which at least one card is known.
    int ranksInWindow(const int* ranks, int count) const
    {
        int n = 0;
        for (int i = 0; i < count; ++i)
            n += rankCount[ranks[i]] > 0 ? 1 : 0;
        return n;
    }
};

constexpr int BroadwayRanks[5] = {9, 10, 11, 12, 0};  // Ten, Jack, Queen, King, Ace

// The five rank indexes top-4 .. top, for top 4 (Ace to Five) up to 12 (Nine to King).
void StraightWindow(int top, int ranks[5])
{
    for (int i = 0; i < 5; ++i)
        ranks[i] = top - 4 + i;
}

// The Royal Flush or the best Straight Flush that `missing` cards can still complete, else 0.
HandScore SuitedStraightLeft(const KnownPool& pool, int missing)
{
    for (int suit = 0; suit < 4; ++suit)
        if (pool.suitedInWindow(suit, BroadwayRanks, 5) + missing >= 5)
            return CategoryScore(RoyalFlush);
    // Highest window first, suits in order: the first hit is the best straight flush left.
    int ranks[5];
    for (int top = 12; top >= 4; --top) {
        StraightWindow(top, ranks);
        for (int suit = 0; suit < 4; ++suit)
            if (pool.suitedInWindow(suit, ranks, 5) + missing >= 5)
                return CategoryScore(StraightFlush) + TopNibble(top + 1);
    }
    return 0;
}

// The best Four of a Kind, or with one card missing the best Full House, still open, else 0.
HandScore RankHandLeft(const KnownPool& pool, int missing)
{
    // Four Aces carry a King kicker, any other four an Ace.
    if (pool.rankCount[0] + missing >= 4)
        return CategoryScore(FourOfAKind) + TopNibble(14) + (13 << 12);
    for (int rank = 12; rank >= 1; --rank)
        if (pool.rankCount[rank] + missing >= 4)
            return CategoryScore(FourOfAKind) + TopNibble(rank + 1) + (14 << 12);
    if (missing != 1)
        return 0;
    int first = 0;  // the two highest rank values with exactly two known cards
    int second = 0;
    for (int rank = 0; rank < 13; ++rank) {
        if (pool.rankCount[rank] != 2)
            continue;
        const int value = RankValue(rank);
        if (value > first) {
            second = first;
            first = value;
        } else if (value > second) {
            second = value;
        }
    }
    return second > 0 ? CategoryScore(FullHouse) + TopNibble(first) + (second << 12) : 0;
}

// A Flush (without ranks) or the best Straight still open, else 0.
HandScore FlushOrStraightLeft(const KnownPool& pool, int missing)
{
    for (int suit = 0; suit < 4; ++suit)
        if (pool.suitCount[suit] + missing >= 5)
            return CategoryScore(Flush);
    if (pool.ranksInWindow(BroadwayRanks, 5) + missing >= 5)
        return CategoryScore(Straight) + TopNibble(14);
    int ranks[5];
    for (int top = 12; top >= 4; --top) {
        StraightWindow(top, ranks);
        if (pool.ranksInWindow(ranks, 5) + missing >= 5)
            return CategoryScore(Straight) + TopNibble(top + 1);
    }
    return 0;
}

// What is left below a Straight: Three of a Kind or a Pair. With three or more cards missing
// something above was always open; that inconsistency is reported.
HandScore SetOrPairLeft(const KnownPool& pool, int missing)
{
    if (missing >= 3) {
        // Any known card plus three missing ones already made Four of a Kind above.
        ShowConsistencyMessage("Warning - best hand error", "Error in best hand");
    } else if (missing == 2) {
        return CategoryScore(ThreeOfAKind) + TopNibble(pool.highest);
    } else {
        if (pool.rankCount[0] == 2)
            return CategoryScore(ThreeOfAKind) + TopNibble(14);
        for (int rank = 12; rank >= 1; --rank)
            if (pool.rankCount[rank] == 2)
                return CategoryScore(ThreeOfAKind) + TopNibble(rank + 1);
    }
    return CategoryScore(OnePair) + TopNibble(pool.highest);
}

}  // namespace

HandScore BestPossibleHand()
{
    const int holeCount = HoleCount(appState.gameVariant);
    Card knownHole[4] = {NoCard, NoCard, NoCard, NoCard};
    Card knownBoard[5] = {NoCard, NoCard, NoCard, NoCard, NoCard};
    int holeKnown = 0;
    int boardKnown = 0;
    KnownPool pool;
    for (int i = 0; i < holeCount; ++i) {
        const Card card = appState.holeCards[static_cast<std::size_t>(i)];
        if (card != NoCard) {
            knownHole[holeKnown++] = card;
            pool.add(card);
        }
    }
    for (Card card : appState.tableCards) {
        if (card != NoCard) {
            knownBoard[boardKnown++] = card;
            pool.add(card);
        }
    }
    const int missing = holeCount + 5 - holeKnown - boardKnown;

    if (missing == 0)
        return EvaluateHand(knownHole, knownBoard, NoThreshold);
    if (missing >= 5)
        return CategoryScore(RoyalFlush);
    // The categories from the top; each helper answers 0 when its categories are out of reach.
    for (auto left : {SuitedStraightLeft, RankHandLeft, FlushOrStraightLeft})
        if (const HandScore score = left(pool, missing); score != 0)
            return score;
    return SetOrPairLeft(pool, missing);
}
