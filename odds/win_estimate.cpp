#include "odds/win_estimate.h"

#include "app/state.h"
#include "cards/free_step_list.h"
#include "cards/step_window.h"
#include "odds/evaluate_hand.h"
#include "odds/screen.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdio>
#include <optional>

namespace {

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

// Bit c for card c.
constexpr std::uint64_t BitOf(Card card)
{
    return std::uint64_t{1} << card;
}

constexpr std::uint64_t AllCards = (std::uint64_t{1} << CardCount) - 1;

std::uint64_t MaskOf(const UsedCards& used)
{
    std::uint64_t mask = 0;
    for (Card c = 0; c < CardCount; ++c)
        mask |= static_cast<std::uint64_t>(used[c] == 1) << c;
    return mask;
}

// AtMostValue[v]: the cards of rank value v or lower.
constexpr auto AtMostValue = [] {
    std::array<std::uint64_t, 15> masks{};
    for (int v = 0; v < 15; ++v)
        for (Card c = 0; c < CardCount; ++c)
            if (CardValues[static_cast<std::size_t>(c)] <= v)
                masks[static_cast<std::size_t>(v)] |= BitOf(c);
    return masks;
}();

// Accept[first] has bit `second` set when the Texas hand of `first` then `second` fits the
// player without a bluff: a drawn hand is judged with one shift.
using AcceptMasks = std::array<std::uint64_t, CardCount>;

// Whether some hand of h cards from the cards not in `usedMask` would fit the player without
// the help of a bluff. A player who bluffs at all can always be served (a weak hand passes the
// bluff draw now and then). Draws nothing. With the player's accept masks (Texas only), one
// test per free card; else O(free cards squared): only asked after many rejected hands.
bool FittingHandExists(const PairRatings& ratings, const Player& player, std::uint64_t usedMask,
                       int h, float threshold, const AcceptMasks* accept = nullptr)
{
    if (player.playing && player.bluffing > 0)
        return true;
    const std::uint64_t free = ~usedMask & AllCards;
    for (std::uint64_t firsts = free; firsts != 0; firsts &= firsts - 1) {
        const Card first = std::countr_zero(firsts);
        // The second card ranks no higher than the first, or it would be chosen first.
        std::uint64_t seconds = free & AtMostValue[ValueOf(first)] & ~BitOf(first);
        if (accept != nullptr) {
            if (((*accept)[static_cast<std::size_t>(first)] & seconds) != 0)
                return true;
            continue;
        }
        for (; seconds != 0; seconds &= seconds - 1) {
            const Card second = std::countr_zero(seconds);
            // In Omaha the other two cards must rank no higher than `second`, or they would be
            // chosen instead; in Texas the two cards are the hand.
            const std::uint64_t others =
                free & AtMostValue[ValueOf(second)] & ~BitOf(first) & ~BitOf(second);
            if (h > 2 && std::popcount(others) < h - 2)
                continue;
            const float rating = ratings(first, second);
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

// Draws straight from the generator, four steps at a time: the cheaper way while most of the
// deck is free and a draw takes a step or two. The same interface as WindowedDraws.
class DirectDraws {
public:
    DirectDraws(std::uint32_t state, std::uint64_t) : state_(state) {}

    Card Draw(std::uint64_t taken)
    {
        return DrawFreeCard(state_, [taken](Card c) { return ((taken >> c) & 1u) != 0; });
    }
    int Value()
    {
        Skip(1);
        return ValueOfState(state_);
    }
    void Skip(int steps)
    {
        static constexpr auto Jumps = MakeJumpTable<3>();
        state_ = Jumps[steps](state_);
    }
    std::uint32_t State() const { return state_; }

private:
    std::uint32_t state_;
};

// From this many free cards down, every hand is drawn through step windows: a draw then takes
// two or more generator steps on average, and a cautious player's redraws run to hundreds.
constexpr int WindowedFreeCards = 30;

// Up to this many free cards, the draws ask at once whether any hand could fit.
constexpr int SmallDeck = 12;

// The attempts of DealOpponentHand on generator draws `draws`: H cards not in `usedMask`, rated,
// the bluff draw for a playing player's weak hand, again until accepted or given up.
// `freeCards` counts the cards not in `usedMask`.
template <int H, class Draws>
bool DrawFittingHand(Draws& draws, const PairRatings& ratings, const Player& player, Card hand[4],
                     std::uint64_t usedMask, int freeCards)
{
    // Copies, so that writing the hand cannot make the compiler read the player again.
    const float threshold = HandBar(player.aggression);
    const bool playing = player.playing;
    const int bluffing = player.bluffing;
    Card drawn[4] = {NoCard, NoCard, NoCard, NoCard};
    if (freeCards <= SmallDeck && !FittingHandExists(ratings, player, usedMask, H, threshold)) {
        // No hand of these cards can fit (the check is cheap for a small deck, and asking it
        // early changes nothing): every attempt is rejected up to the early stop, so only the
        // draws and the two steps of a playing player's bluff draw remain.
        for (int attempt = 1; attempt <= FitCheckAttempt; ++attempt) {
            std::uint64_t taken = usedMask;
            for (int i = 0; i < H; ++i) {
                drawn[i] = draws.Draw(taken);
                taken |= BitOf(drawn[i]);
            }
            if (playing)
                draws.Skip(2);
        }
        std::copy(drawn, drawn + H, hand);
        return false;
    }
    bool accepted = false;
    for (int attempt = 1;; ++attempt) {
        std::uint64_t taken = usedMask;
        for (int i = 0; i < H; ++i) {
            drawn[i] = draws.Draw(taken);
            taken |= BitOf(drawn[i]);
        }
        // GuessHand without its check for empty slots: these cards were just drawn.
        Card first = drawn[0];
        Card second = drawn[1];
        if constexpr (H == 4)
            ChooseOmahaPair(drawn, first, second);
        const float rating = ratings(first, second);
        if (playing) {
            accepted = rating >= threshold;
            if (!accepted && bluffing == 0) {
                // b is always 0 and never beats r: the two draws only move the generator on.
                draws.Skip(2);
            } else if (!accepted) {
                const int first = draws.Value();
                const int second = draws.Value();
                accepted = PassesBluffDraw(bluffing, first, second);
            }
        } else {
            accepted = rating < threshold;
        }
        if (accepted || attempt == MaxDealAttempts)
            break;
        // A crowded deal may have used up every card that would fit: once the rejections make
        // that likely, look, and keep the last hand when nothing fitting is left.
        if (attempt == FitCheckAttempt &&
            !FittingHandExists(ratings, player, usedMask, H, threshold))
            break;
    }
    std::copy(drawn, drawn + H, hand);
    return accepted;
}

void MakeAcceptMasks(const PairRatings& ratings, const Player& player, AcceptMasks& accept)
{
    const float threshold = HandBar(player.aggression);
    for (Card first = 0; first < CardCount; ++first) {
        std::uint64_t mask = 0;
        for (Card second = 0; second < CardCount; ++second) {
            const float rating = ratings(first, second);
            mask |= static_cast<std::uint64_t>(player.playing ? rating >= threshold
                                                              : rating < threshold)
                    << second;
        }
        accept[static_cast<std::size_t>(first)] = mask;
    }
}

// The jumps of 0 to 2 * StepWindow::Steps + 2 steps: the states of two windows side by side
// and of the two steps of a bluff draw past their end.
constexpr auto PairJumps = MakeJumpTable<2 * StepWindow::Steps + 3>();

// Two step windows side by side, 128 steps: a hand's second card is found in the same view as
// its first, and the second window is made as soon as the first is entered, so that its
// arithmetic overlaps the draws instead of waiting for them.
struct WindowPair {
    alignas(32) std::uint8_t cards[2 * StepWindow::Steps];  // the cards of steps base + 1 ..
    std::uint64_t freeSteps[2];                             // bit k: cards[64 * w + k] is free
    std::uint32_t base;  // the state before the first window's first step
    int position;        // steps taken since base, at most 2 * Steps + 2
    Card first;          // the cards of the last hand drawn
    Card second;
};

// The windows' free steps from `position` on, in the first window only.
inline std::uint64_t PendingSteps(const WindowPair& pair, int position)
{
    return position < StepWindow::Steps ? pair.freeSteps[0] & (~std::uint64_t{0} << position) : 0;
}

// Up to `attempts` more attempts of DrawTexasHandWindowed for a player who is playing or not
// and, playing, bluffs or not (fixed here, so that the loop tests neither). Returns whether a
// hand was accepted; `pair` holds the last hand drawn and the steps taken.
template <bool Playing, bool Bluffs>
bool TryTexasHands(WindowPair& pair, const StepWindowMaker& fill, const AcceptMasks& fits,
                   int bluffing, int attempts)
{
    constexpr int Steps = StepWindow::Steps;
    int position = pair.position;
    // Moves on by one window, which takes over the steps taken past the first one's end.
    auto moveOn = [&] {
        std::copy(pair.cards + Steps, pair.cards + 2 * Steps, pair.cards);
        pair.freeSteps[0] = pair.freeSteps[1];
        pair.base = WindowJumps[Steps](pair.base);
        position = std::max(position - Steps, 0);
        pair.freeSteps[1] = fill(pair.cards + Steps, WindowJumps[Steps](pair.base));
    };
    std::uint64_t pending = PendingSteps(pair, position);
    Card first = NoCard;
    Card second = NoCard;
    for (; attempts > 0; --attempts) {
        while (pending == 0) {
            moveOn();
            pending = PendingSteps(pair, position);
        }
        // The next two free steps, worked out from the windows' bits alone: the steps that
        // follow depend on the cards only when the second card repeats the first (about one
        // time in as many free cards as there are), so the processor can run ahead.
        const int firstStep = std::countr_zero(pending);
        const std::uint64_t rest = pending & (pending - 1);
        int secondStep =
            rest != 0 ? std::countr_zero(rest) : Steps + std::countr_zero(pair.freeSteps[1]);
        first = pair.cards[firstStep];
        second = pair.cards[secondStep & (2 * Steps - 1)];
        if (secondStep == 2 * Steps || second == first) [[unlikely]] {
            const std::uint64_t seconds = rest & ~StepsOfCard(pair.cards, first);
            if (seconds != 0) {
                secondStep = std::countr_zero(seconds);
            } else {
                std::uint64_t later = pair.freeSteps[1] & ~StepsOfCard(pair.cards + Steps, first);
                while (later == 0) {  // the second card comes after both windows
                    position = 0;
                    moveOn();
                    later = pair.freeSteps[1] & ~StepsOfCard(pair.cards + Steps, first);
                }
                secondStep = Steps + std::countr_zero(later);
            }
            second = pair.cards[secondStep];
        }
        position = secondStep + 1;
        // Rejection is the rule: the next attempt's steps are worked out as if this hand were
        // rejected, so that they do not wait for the accept bit (hence the branches to leave).
        if (((fits[static_cast<std::size_t>(first)] >> second) & 1u) != 0) [[unlikely]]
            break;
        if constexpr (Playing) {
            // The bluff draw on the next two steps, as in DrawFittingHand.
            const bool bluffed =
                Bluffs &&
                PassesBluffDraw(
                    bluffing,
                    ValueOfState(PairJumps[static_cast<std::size_t>(position + 1)](pair.base)),
                    ValueOfState(PairJumps[static_cast<std::size_t>(position + 2)](pair.base)));
            position += 2;
            if (bluffed)
                break;
        }
        pending = PendingSteps(pair, position);
    }
    pair.position = position;
    pair.first = first;
    pair.second = second;
    return attempts > 0;
}

bool TryTexasHands(WindowPair& pair, const StepWindowMaker& fill, const AcceptMasks& fits,
                   const Player& player, int attempts)
{
    if (!player.playing)
        return TryTexasHands<false, false>(pair, fill, fits, 0, attempts);
    if (player.bluffing == 0)
        return TryTexasHands<true, false>(pair, fill, fits, 0, attempts);
    return TryTexasHands<true, true>(pair, fill, fits, player.bluffing, attempts);
}

// The attempts of a player for whom no hand of these cards fits and who does not bluff: exactly
// `attempts` hands, all rejected, walked on the list of free steps. A hand's first card is the
// next entry and its second the next entry of another card; a playing player's bluff draw then
// passes over the entries of the next `BluffSteps` steps. The block's links give the first
// entry of the hand two or four hands on at once, so four hands cost one load and no branch on
// the cards.
// Leaves the last hand in `hand` and the generator state after the attempts in `state`.
template <int BluffSteps>
void WalkRejectedTexasHands(FreeStepList& list, int attempts, Card hand[4], std::uint32_t& state)
{
    // The entries a block needs for the hands left: a hand takes about two and a half, and a
    // block that runs short is made again with more.
    const auto wanted = [](int hands) { return std::min(FreeStepList::FullBlock, 3 * hands + 8); };
    FreeStepList::Block block;
    list.BlockAt(0, BluffSteps, block, wanted(attempts));
    int next = 0;   // the next hand's first entry, counted from block.start
    int first = 0;  // the last hand's
    while (attempts > 0) {
        if (attempts >= 4 && block.nextFour[next] != FreeStepList::Past) {
            first = block.next[block.nextTwo[next]];
            next = block.nextFour[next];
            attempts -= 4;
            continue;
        }
        if (attempts >= 2 && block.nextTwo[next] != FreeStepList::Past) {
            first = block.next[next];
            next = block.nextTwo[next];
            attempts -= 2;
            continue;
        }
        // One hand, near the block's end or as the last.
        if (block.second[next] == FreeStepList::Past) {
            // The hand's second card is past the block: a block from its first card, with more
            // entries. When a block of all its entries ran short from its start, the first
            // card's run fills it, and the walk goes on from its last entry, which holds the
            // same card.
            const bool run = next == 0 && block.entries == FreeStepList::FullBlock;
            const int more = std::max(wanted(attempts), block.entries - next + 8);
            list.BlockAt(block.start + (run ? 63 : next), BluffSteps, block,
                         std::min(FreeStepList::FullBlock, more));
            next = 0;
            continue;
        }
        first = next;
        next = block.next[first];
        if (--attempts > 0 && next > 63) {
            list.BlockAt(block.start + next, BluffSteps, block, wanted(attempts));
            next = 0;
        }
    }
    const int second = block.second[first];
    hand[0] = list.CardAt(block.start + first);
    hand[1] = list.CardAt(block.start + second);
    state = list.StateAfter(list.StepAt(block.start + second) + BluffSteps);
}

// The Texas attempts of DrawFittingHand through step windows, worked out on the windows' bits: the
// first card is the next free step, the second the next free step of another card (the steps
// of the first card are masked out at once), and the pair is judged by its accept bit; when no
// hand of a small deck can fit, the rejected attempts are walked on a list of free steps
// instead. The same cards, the same steps and the same early stops as drawing one card at a
// time.
bool DrawTexasHandWindowed(const PairRatings& ratings, const Player& player,
                           const AcceptMasks& accept, Card hand[4], std::uint64_t usedMask,
                           int freeCards)
{
    const float threshold = HandBar(player.aggression);
    const std::uint64_t freeMask = ~usedMask & AllCards;
    if (freeCards <= SmallDeck &&
        !FittingHandExists(ratings, player, usedMask, 2, threshold, &accept)) {
        // No hand of these cards can fit (so the player does not bluff): every attempt up to
        // the early stop is rejected.
        FreeStepList list(freeMask, randomState);
        if (player.playing)
            WalkRejectedTexasHands<2>(list, FitCheckAttempt, hand, randomState);
        else
            WalkRejectedTexasHands<0>(list, FitCheckAttempt, hand, randomState);
        return false;
    }
    const StepWindowMaker fill(freeMask);
    WindowPair pair;
    pair.base = randomState;
    pair.position = 0;
    pair.freeSteps[0] = fill(pair.cards, pair.base);
    pair.freeSteps[1] =
        fill(pair.cards + StepWindow::Steps, WindowJumps[StepWindow::Steps](pair.base));
    bool accepted = TryTexasHands(pair, fill, accept, player, FitCheckAttempt);
    // After FitCheckAttempt rejections, go on only when some fitting hand is left.
    if (!accepted && FittingHandExists(ratings, player, usedMask, 2, threshold, &accept))
        accepted = TryTexasHands(pair, fill, accept, player, MaxDealAttempts - FitCheckAttempt);
    randomState = PairJumps[static_cast<std::size_t>(pair.position)](pair.base);
    hand[0] = pair.first;
    hand[1] = pair.second;
    return accepted;
}

// DealOpponentHand on the used cards as bits; the hand dealt is added to `usedMask`.
// `accept`: in Texas, the player's accept masks; in Omaha, null.
bool DealOpponentHandRated(const PairRatings& ratings, const AcceptMasks* accept,
                           const Player& player, Card hand[4], std::uint64_t& usedMask,
                           int freeCards, int h)
{
    // A cautious player may reject thousands of hands: the attempts draw from a local
    // generator state, and only the accepted (or last) hand is marked.
    // Judged by its accept bit, a Texas attempt costs a few instructions however full the deck,
    // so Texas hands are drawn through step windows from a full deck on; only a player who
    // bluffs, and so takes a hand within a few attempts, is cheaper to serve straight from the
    // generator while many cards are free.
    const bool bluffs = player.playing && player.bluffing > 0;
    bool accepted;
    if (accept != nullptr && (freeCards <= WindowedFreeCards || !bluffs)) {
        accepted = DrawTexasHandWindowed(ratings, player, *accept, hand, usedMask, freeCards);
    } else if (freeCards <= WindowedFreeCards) {
        StepWindow window;
        WindowedDraws draws(randomState, ~usedMask & AllCards, window);
        accepted = DrawFittingHand<4>(draws, ratings, player, hand, usedMask, freeCards);
        randomState = draws.State();
    } else {
        DirectDraws draws(randomState, ~usedMask & AllCards);
        accepted = h == 4 ? DrawFittingHand<4>(draws, ratings, player, hand, usedMask, freeCards)
                          : DrawFittingHand<2>(draws, ratings, player, hand, usedMask, freeCards);
        randomState = draws.State();
    }
    for (int i = 0; i < h; ++i)
        usedMask |= BitOf(hand[i]);
    return accepted;
}

// Draws a card not in `usedMask` from the program's generator and marks it there.
Card DrawUnusedCard(std::uint64_t& usedMask)
{
    const std::uint64_t used = usedMask;
    const Card card = DrawFreeCard(randomState, [used](Card c) { return ((used >> c) & 1u) != 0; });
    usedMask |= BitOf(card);
    return card;
}

// What stays the same through the deals of one estimate.
struct DealSetup {
    const Card* hole;            // the user's hole cards, h of them
    const Card* board;           // the chosen board, NoCard where to be drawn
    int h;                       // hole cards per player
    std::uint64_t chosen;        // the user's hole cards and the chosen board cards
    const PairRatings* ratings;  // with opponent modelling, the ratings of the pairs; else null
    // With modelling in Texas, the accept masks of the players dealt in, in the same order.
    AcceptMasks accept[CardCount / 2];
    int dealtIn[CardCount / 2];  // roster indexes of the players dealt in, in order
    int dealtInCount;
    int freeAfterBoard;  // the cards left in the deck once the board is dealt
};

// The players dealt in: in roster order, the playing ones (every one with modelling), as long
// as the deck still holds a whole hole for the next. The deck's count of free cards after the
// board is the same in every deal, so is this list.
void ChoosePlayersDealtIn(DealSetup& setup, bool modelling)
{
    int freeBoardSlots = 0;
    for (int i = 0; i < 5; ++i)
        freeBoardSlots += setup.board[i] == NoCard;
    setup.freeAfterBoard = CardCount - std::popcount(setup.chosen) - freeBoardSlots;
    int freeCards = setup.freeAfterBoard;
    setup.dealtInCount = 0;
    const PlayerRoster& roster = appState.roster;
    for (int p = 0; p < roster.count() && freeCards >= setup.h; ++p) {
        if (!modelling && !roster.at(p).playing)
            continue;
        setup.dealtIn[setup.dealtInCount++] = p;
        freeCards -= setup.h;
    }
}

// Fills the board slots left empty, in order, with cards not in `usedMask` (and marks them).
void DealBoard(const Card board[5], Card dealBoard[5], std::uint64_t& usedMask)
{
    for (int i = 0; i < 5; ++i)
        dealBoard[i] = board[i] != NoCard ? board[i] : DrawUnusedCard(usedMask);
}

enum class Outcome { Win, Tie, Loss };

// One deal: the board, then the players dealt in, in roster order, until one beats the user.
Outcome PlayDeal(const DealSetup& setup)
{
    std::uint64_t used = setup.chosen;
    Card board[5];
    DealBoard(setup.board, board, used);
    const BoardScorer scorer(board);
    const HandScore hero = scorer.Best(setup.hole);
    HandScore best = -1;
    for (int i = 0; i < setup.dealtInCount; ++i) {
        // Opponents keep their cards for the rest of the deal.
        Card hand[4] = {NoCard, NoCard, NoCard, NoCard};
        if (setup.ratings != nullptr) {
            DealOpponentHandRated(*setup.ratings, setup.h == 2 ? &setup.accept[i] : nullptr,
                                  appState.roster.at(setup.dealtIn[i]), hand, used,
                                  setup.freeAfterBoard - i * setup.h, setup.h);
        } else {
            for (int k = 0; k < setup.h; ++k)
                hand[k] = DrawUnusedCard(used);
        }
        const HandScore score = scorer.Best(hand);
        if (score > best) {
            best = score;
            if (best > hero)
                break;  // the deal is lost whatever the others hold
        }
    }
    return hero > best ? Outcome::Win : hero == best ? Outcome::Tie : Outcome::Loss;
}

}  // namespace

bool DealOpponentHand(const Player& player, Card hand[4], UsedCards& used, int h)
{
    const PairRatings ratings;
    AcceptMasks accept;
    MakeAcceptMasks(ratings, player, accept);
    std::uint64_t usedMask = MaskOf(used);
    const int freeCards = CardCount - std::popcount(usedMask);
    const bool accepted = DealOpponentHandRated(ratings, h == 2 ? &accept : nullptr, player, hand,
                                                usedMask, freeCards, h);
    for (int i = 0; i < h; ++i)
        used[hand[i]] = 1;
    return accepted;
}

void EstimateWin(const Card hole[4], const Card board[5])
{
    const int h = HoleCount(appState.gameVariant);
    for (int i = 0; i < h; ++i) {
        if (hole[i] == NoCard)
            return;
    }
    const bool modelling = IsMainDialogChecked(ModellingCheckBox);
    std::optional<PairRatings> ratings;
    if (modelling)
        ratings.emplace();

    DealSetup setup{};
    setup.hole = hole;
    setup.board = board;
    setup.h = h;
    for (int i = 0; i < h; ++i)
        setup.chosen |= BitOf(hole[i]);
    for (int i = 0; i < 5; ++i) {
        if (board[i] != NoCard)
            setup.chosen |= BitOf(board[i]);
    }
    setup.ratings = ratings ? &*ratings : nullptr;
    ChoosePlayersDealtIn(setup, modelling);
    if (modelling && h == 2) {
        for (int i = 0; i < setup.dealtInCount; ++i)
            MakeAcceptMasks(*ratings, appState.roster.at(setup.dealtIn[i]), setup.accept[i]);
    }

    OutcomeCounts& counts = appState.outcomeCounts;
    for (int deal = 0; deal < DealsPerEstimate; ++deal) {
        switch (PlayDeal(setup)) {
        case Outcome::Win:
            ++counts.wins;
            break;
        case Outcome::Tie:
            ++counts.ties;
            break;
        case Outcome::Loss:
            ++counts.losses;
            break;
        }
    }

    // The shares are of every deal since the last reset, over a total held as a float; it is at
    // least DealsPerEstimate here, so never zero.
    const float total = static_cast<float>(counts.total());
    ShowShare(WinShareControl, counts.wins, total);
    ShowShare(TieShareControl, counts.ties, total);
    ShowShare(LossShareControl, counts.losses, total);

    // The pot is shared with the playing players who were dealt in; players the deck cannot
    // serve stake nothing.
    int playing = 0;
    for (int i = 0; i < setup.dealtInCount; ++i)
        playing += appState.roster.at(setup.dealtIn[i]).playing ? 1 : 0;
    RedrawGain(playing);
}
