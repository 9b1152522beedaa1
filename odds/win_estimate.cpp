#include "odds/win_estimate.h"

#include "app/state.h"
#include "odds/evaluate_hand.h"
#include "odds/screen.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdio>
#include <optional>

namespace {

// Two steps of the generator as one: state * a * a + (a + 1) * c, modulo 2^32.
constexpr std::uint32_t LcgTwoStepMultiplier = 214013u * 214013u;
constexpr std::uint32_t LcgTwoStepIncrement = (214013u + 1u) * 2531011u;

// Rank values (Ace 14) of the 52 cards, looked up rather than computed: the opponent model
// rates every hand it draws.
constexpr auto CardValues = [] {
    std::array<int, CardCount> values{};
    for (Card c = 0; c < CardCount; ++c)
        values[static_cast<std::size_t>(c)] = RankValue(RankOf(c));
    return values;
}();

// Rank value of a card for the choice of the two cards that make an Omaha starting hand; 0
// for NoCard.
int ValueOf(Card card)
{
    return card == NoCard ? 0 : CardValues[static_cast<std::size_t>(card)];
}

// Writes count * 100 / total as "45.83%" into a control of the main dialog.
void ShowShare(int controlId, std::int64_t count, float total)
{
    char text[48];
    std::snprintf(text, sizeof text, "%.2f%%", static_cast<double>(count) * 100.0 / total);
    SetMainDialogText(controlId, text);
}

// The rating of a starting hand whose two chosen cards are `first` and `second`.
float PairRating(Card first, Card second)
{
    const StartingHandTable& table = appState.startingHandTable;
    const int row = RankOf(first);
    const int column = RankOf(second);
    return SuitOf(first) == SuitOf(second) ? table.suited[row][column] : table.offsuit[row][column];
}

// The rating of every ordered pair of cards, read once from the starting-hand table so that a
// drawn hand is rated with one load. Made on the stack of each estimate: 2,704 entries, a few
// microseconds against the thousands of hands one estimate may rate.
struct PairRatings {
    float rating[CardCount][CardCount];

    PairRatings()
    {
        for (Card a = 0; a < CardCount; ++a)
            for (Card b = 0; b < CardCount; ++b)
                rating[a][b] = PairRating(a, b);
    }
    float operator()(Card first, Card second) const { return rating[first][second]; }
};

// The two cards that stand for an Omaha hand: the earliest card of the highest value, then the
// earliest of the highest value among the other three.
inline void ChooseOmahaPair(const Card hand[4], Card& first, Card& second)
{
    // Each card's key is its value times 4 plus (3 - its place), so the largest key is the
    // highest value and, among equal values, the earliest card.
    int keys[4];
    for (int i = 0; i < 4; ++i)
        keys[i] = ValueOf(hand[i]) * 4 + 3 - i;
    int top = std::max(std::max(keys[0], keys[1]), std::max(keys[2], keys[3]));
    const int firstIndex = 3 - (top & 3);
    keys[firstIndex] = -1;
    top = std::max(std::max(keys[0], keys[1]), std::max(keys[2], keys[3]));
    first = hand[firstIndex];
    second = hand[3 - (top & 3)];
}

// Whether some hand of h cards from the free cards of `used` would fit the player without the
// help of a bluff. A player who bluffs at all can always be served (a weak hand passes the
// bluff draw now and then). Draws nothing. O(free cards squared): only asked after many
// rejected hands.
bool FittingHandExists(const Player& player, const UsedCards& used, int h, float threshold)
{
    if (player.playing && player.bluffing > 0)
        return true;
    Card free[CardCount];
    int freeCount = 0;
    int atMost[15] = {};  // atMost[v]: free cards of rank value v or lower
    for (Card c = 0; c < CardCount; ++c) {
        if (used[c] == 0) {
            free[freeCount++] = c;
            for (int v = ValueOf(c); v < 15; ++v)
                ++atMost[v];
        }
    }
    for (int i = 0; i < freeCount; ++i) {
        for (int j = 0; j < freeCount; ++j) {
            const Card first = free[i];
            const Card second = free[j];
            if (i == j || ValueOf(second) > ValueOf(first))
                continue;
            // In Omaha the other two cards must rank no higher than `second`, or they would be
            // chosen instead; in Texas the two cards are the hand.
            const int others = atMost[ValueOf(second)] - 1 - (ValueOf(first) == ValueOf(second));
            if (h > 2 && others < h - 2)
                continue;
            const float rating = PairRating(first, second);
            if (player.playing ? rating >= threshold : rating < threshold)
                return true;
        }
    }
    return false;
}

}  // namespace

float GuessHand(const Card hand[4])
{
    Card first = hand[0];
    Card second = hand[1];
    if (appState.gameVariant == OmahaHoldem)
        ChooseOmahaPair(hand, first, second);
    // Only drawn cards reach here; the test also keeps an empty slot from indexing the tables.
    if (first == NoCard || second == NoCard) {
        ShowConsistencyMessage("Error in GuessHand!", "Error!");
        return -100.0f;
    }
    return PairRating(first, second);
}

namespace {

bool DealOpponentHandRated(const PairRatings& ratings, const Player& player, Card hand[4],
                           UsedCards& used, int h)
{
    const float threshold = static_cast<float>((8 - player.aggression) * 2);
    const bool omaha = appState.gameVariant == OmahaHoldem;
    // A cautious player may reject thousands of hands: the attempts draw from a bit set of the
    // used cards and a local generator state, and only the accepted (or last) hand is marked.
    std::uint64_t usedMask = 0;
    for (Card c = 0; c < CardCount; ++c)
        usedMask |= static_cast<std::uint64_t>(used[c] == 1) << c;
    std::uint32_t state = randomState;
    auto next = [&state] {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFFu);
    };
    bool accepted = false;
    for (int attempt = 1;; ++attempt) {
        std::uint64_t handMask = usedMask;
        for (int i = 0; i < h; ++i)
            hand[i] = DrawUnusedCardFromMask(handMask, state);
        // GuessHand without its check for empty slots: these cards were just drawn.
        Card first = hand[0];
        Card second = hand[1];
        if (omaha)
            ChooseOmahaPair(hand, first, second);
        const float rating = ratings(first, second);
        if (player.playing) {
            accepted = rating >= threshold;
            if (!accepted && player.bluffing == 0) {
                // b is always 0 and never beats r: the two draws only move the generator on,
                // which two steps at once do exactly.
                state = state * LcgTwoStepMultiplier + LcgTwoStepIncrement;
            } else if (!accepted) {
                // The bluff draw: b in 0..bluffing, then r in 0..19, in that order. Each is a
                // generator value times n / 32768, truncated: exact in integers as in doubles.
                const int b = (next() * (player.bluffing + 1)) >> 15;
                const int r = (next() * 20) >> 15;
                accepted = b > r;
            }
        } else {
            accepted = rating < threshold;
        }
        if (accepted || attempt == MaxDealAttempts)
            break;
        // A crowded deal may have used up every card that would fit: once the rejections make
        // that likely, look, and keep the last hand when nothing fitting is left.
        if (attempt == FitCheckAttempt && !FittingHandExists(player, used, h, threshold))
            break;
    }
    randomState = state;
    for (int i = 0; i < h; ++i)
        used[hand[i]] = 1;
    return accepted;
}

}  // namespace

bool DealOpponentHand(const Player& player, Card hand[4], UsedCards& used, int h)
{
    const PairRatings ratings;
    return DealOpponentHandRated(ratings, player, hand, used, h);
}

void EstimateWin(const Card hole[4], const Card board[5])
{
    const int h = HoleCount(appState.gameVariant);
    for (int i = 0; i < h; ++i) {
        if (hole[i] == NoCard)
            return;
    }
    const bool modelling = IsMainDialogChecked(ModellingCheckBox);
    const PlayerRoster& roster = appState.roster;
    const int players = roster.count();
    OutcomeCounts& counts = appState.outcomeCounts;

    std::optional<PairRatings> ratings;
    if (modelling)
        ratings.emplace();
    UsedCards used;
    for (int deal = 0; deal < DealsPerEstimate; ++deal) {
        used.clear();
        int freeCards = CardCount;
        auto mark = [&](Card card) {
            freeCards -= used[card] == 0;
            used[card] = 1;
        };
        for (int i = 0; i < h; ++i)
            mark(hole[i]);
        for (int i = 0; i < 5; ++i) {
            if (board[i] != NoCard)
                mark(board[i]);
        }
        Card dealBoard[5];
        for (int i = 0; i < 5; ++i) {
            if (board[i] != NoCard) {
                dealBoard[i] = board[i];
            } else {
                dealBoard[i] = DrawUnusedCard(used);
                --freeCards;
            }
        }
        const HandScore hero = EvaluateHand(hole, dealBoard, NoThreshold);

        HandScore best = -1;
        for (int p = 0; p < players; ++p) {
            const Player& player = roster.at(p);
            if (!modelling && !player.playing)
                continue;
            // Opponents keep their cards for the rest of the deal; once the deck cannot give
            // a whole hand, nobody after this point is dealt in.
            if (freeCards < h)
                break;
            Card hand[4] = {NoCard, NoCard, NoCard, NoCard};
            if (modelling) {
                DealOpponentHandRated(*ratings, player, hand, used, h);
            } else {
                for (int i = 0; i < h; ++i)
                    hand[i] = DrawUnusedCard(used);
            }
            freeCards -= h;
            const HandScore score = EvaluateHand(hand, dealBoard, hero);
            if (score > best) {
                best = score;
                if (best > hero)
                    break;  // the deal is lost whatever the others hold
            }
        }
        if (hero > best)
            ++counts.wins;
        else if (hero == best)
            ++counts.ties;
        else
            ++counts.losses;
    }

    // The shares are of every deal since the last reset. The total is held as a float, as the
    // percentages always were; it is at least DealsPerEstimate here, so never zero.
    const float total = static_cast<float>(counts.total());
    ShowShare(WinShareControl, counts.wins, total);
    ShowShare(TieShareControl, counts.ties, total);
    ShowShare(LossShareControl, counts.losses, total);

    int playing = 0;
    for (int p = 0; p < players; ++p)
        playing += roster.at(p).playing ? 1 : 0;
    RedrawGain(playing);
}
