// Cards and scores: the generator and its card mapping, the evaluator against exhaustive category
// counts and against a slow literal reference hand by hand, and the sentences that tell a score.
#include "cards/evaluator.h"
#include "cards/evaluator_tables.h"

#include "app/state.h"
#include "odds/evaluate_hand.h"
#include "odds/hand_description.h"
#include "odds/screen.h"
#include "platform/headless/headless.h"
#include "tests/support/card_text.h"
#include "tests/support/exact_final_hands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <functional>
#include <random>
#include <utility>
#include <vector>

namespace {

#if defined(TABLEWISE_SANITIZED)
constexpr int HandCount = 100000;  // the sanitizers slow everything down some twenty times
#else
// The reference takes some 4 us a hand: this many reach the rare hands (straight flushes of
// two-suit deals, sets with one to four empty slots) thousands of times each.
constexpr int HandCount = 2000000;
#endif

// --- The literal reference: the present cards' ranks in groups (larger group first, higher rank
// first), the category read off the groups, the score packed from the group values. It shares no
// step with the tables in cards/.
HandScore ReferenceScoreFive(const Card cards[5])
{
    int count[15] = {};  // cards of each rank value, the Ace 14
    int suits = 0;       // one bit per suit present
    for (int i = 0; i < 5; ++i)
        if (cards[i] != NoCard) {
            ++count[RankOf(cards[i]) == 0 ? 14 : RankOf(cards[i]) + 1];
            suits |= 1 << SuitOf(cards[i]);
        }
    std::pair<int, int> groups[5] = {};  // (cards of the rank, rank value), then empty ones
    int n = 0;
    for (int value = 2; value <= 14; ++value)
        if (count[value] > 0)
            groups[n++] = {count[value], value};
    std::sort(groups, groups + 5, std::greater<>());
    auto pack = [&](HandType type) {
        HandScore score = static_cast<HandScore>(type) << 20;
        for (int i = 0; i < n; ++i)
            score += groups[i].second << (16 - 4 * i);
        return score;
    };
    if (n == 5) {
        // A straight runs down by one from the top, or is A-5-4-3-2 with the Five on top.
        const bool flush = (suits & (suits - 1)) == 0;
        const int high = groups[0].second;
        const int top = high - groups[4].second == 4          ? high
                        : high == 14 && groups[1].second == 5 ? 5
                                                              : 0;
        if (flush && top == 14)
            return RoyalFlush << 20;
        if (top != 0)
            return ((flush ? StraightFlush : Straight) << 20) + (top << 16);
        if (flush)
            return pack(Flush);
    }
    const int first = n > 0 ? groups[0].first : 0;
    const int second = n > 1 ? groups[1].first : 0;
    return pack(first == 4   ? FourOfAKind
                : first == 3 ? (second == 2 ? FullHouse : ThreeOfAKind)
                : first == 2 ? (second == 2 ? TwoPairs : OnePair)
                             : HighCard);
}

// Every five of hole slots 0..3 and board slots 4..8 in lexicographic order of the slots, Texas
// without hole slots 2 and 3, Omaha with exactly two hole slots: the first set above the
// threshold, else the best (-1 for none).
template <bool Omaha>
HandScore ReferenceEvaluate(const Card hole[4], const Card board[5], std::int32_t threshold)
{
    const Card pool[9] = {hole[0],  hole[1],  hole[2],  hole[3], board[0],
                          board[1], board[2], board[3], board[4]};
    HandScore best = -1;
    for (int a = 0; a < 9; ++a)
        for (int b = a + 1; b < 9; ++b)
            for (int c = b + 1; c < 9; ++c)
                for (int d = c + 1; d < 9; ++d)
                    for (int e = d + 1; e < 9; ++e) {
                        const unsigned slots = 1u << a | 1u << b | 1u << c | 1u << d | 1u << e;
                        if (Omaha ? std::popcount(slots & 0xFu) != 2 : (slots & 0xCu) != 0)
                            continue;
                        const Card five[5] = {pool[a], pool[b], pool[c], pool[d], pool[e]};
                        best = std::max(best, ReferenceScoreFive(five));
                        if (best > threshold)  // every earlier set was at most the threshold
                            return best;
                    }
    return best;
}

using Evaluate = HandScore (*)(const Card[4], const Card[5], std::int32_t);

// Nine distinct cards, scored by `fast` and, without threshold, on a board summed once under
// the variant in force. Deal n % 8 == 0 comes from two random suits (six- and seven-card flushes,
// straight flushes); in deal n % 8 == 4 each slot is empty with chance 1/4 (3/4 in one of 16).
// Thresholds on every fourth deal: below and at the score, an earlier score, an arbitrary value.
void ExpectRandomHandsMatch(Evaluate fast, Evaluate reference, unsigned seed, int hands)
{
    std::mt19937 rng(seed);
    HandScore previous = 0;
    for (int n = 0; n < hands; ++n) {
        const int a = static_cast<int>(rng() % 4);
        const int b = static_cast<int>(rng() % 4);
        std::array<Card, CardCount> deck;
        std::size_t size = 0;
        for (Card c = 0; c < CardCount; ++c)
            if (n % 8 != 0 || SuitOf(c) == a || SuitOf(c) == b)
                deck[size++] = c;
        for (std::size_t i = 0; i < 9; ++i) {
            std::swap(deck[i], deck[std::uniform_int_distribution<std::size_t>(i, size - 1)(rng)]);
            if (n % 8 == 4 && rng() % 4 < (n % 128 == 4 ? 3u : 1u))
                deck[i] = NoCard;
        }
        const Card* hole = deck.data();
        const Card* board = deck.data() + 4;
        ASSERT_EQ(ScoreFive(board), ReferenceScoreFive(board)) << "deal " << n;
        const HandScore score = reference(hole, board, NoThreshold);
        ASSERT_EQ(fast(hole, board, NoThreshold), score) << "deal " << n;
        ASSERT_EQ(BoardScorer(board).Best(hole), score) << "deal " << n << " on its board";
        if (n % 4 != 0)
            continue;
        const std::int32_t any = std::uniform_int_distribution<std::int32_t>(0, 0x9FFFFF)(rng);
        for (std::int32_t t : {score - 1, score, previous, any})
            ASSERT_EQ(fast(hole, board, t), reference(hole, board, t)) << n << " over " << t;
        previous = score;
    }
}

}  // namespace

TEST(Generator, FollowsItsSequenceAndMapsItsValuesEvenlyOntoTheCards)
{
    SeedRandom(1);
    EXPECT_EQ((std::array{NextRandom(), NextRandom(), NextRandom()}),
              (std::array{41, 18467, 6334}));
    // value * 52 / 32768 maps 630 or 631 generator values onto every card, 0 to 0, 32767 to 51.
    int seen[CardCount] = {};
    for (std::uint32_t value = 0; value < 32768; ++value)
        ++seen[CardOfState(value << 16)];
    for (int count : seen)
        EXPECT_TRUE(count == 630 || count == 631) << count;
    EXPECT_EQ(CardOfState(0xFFFFu), 0);
    EXPECT_EQ(CardOfState(0x7FFFu << 16), 51);
}

TEST(EvaluatorTables, RankSumsAndTheirSlotsAreDistinctForEveryMultiset)
{
    // Every rank multiset with at most four of a rank and seven cards in all, as key sums; the
    // rank table holds those of at most five cards, the hand table those of seven.
    std::vector<std::uint32_t> sums;
    std::vector<std::uint32_t> rankSlots;
    std::vector<std::uint32_t> handSlots;
    auto collect = [&](auto&& self, int rank, int cards, std::uint32_t sum,
                       std::uint32_t column) -> void {
        if (rank == 13) {
            sums.push_back(sum);
            const std::uint64_t keySum = RankField(sum) + column;
            if (cards <= 5)
                rankSlots.push_back(RankSlot(keySum));
            if (cards == 7)
                handSlots.push_back(HandSlot(keySum));
            return;
        }
        for (int c = 0; c <= 4 && cards + c <= 7; ++c)
            self(self, rank + 1, cards + c, sum + RankKeys[static_cast<std::size_t>(rank)] * c,
                 column + ColumnKey(rank) * static_cast<std::uint32_t>(c));
    };
    collect(collect, 0, 0, 0, 0);
    ASSERT_EQ(sums.size(), 76155u);
    ASSERT_EQ(handSlots.size(), 49205u);
    for (std::vector<std::uint32_t>* v : {&sums, &rankSlots, &handSlots}) {
        std::sort(v->begin(), v->end());
        EXPECT_EQ(std::adjacent_find(v->begin(), v->end()), v->end());
    }
    EXPECT_LT(sums.back(), 1u << RankFieldBits);  // distinct modulo the field's size
    // Whatever a key sum holds, even one of no real hand, its slot is inside the table.
    for (std::uint32_t field = 0; field < (1u << RankFieldBits); field += 1u << RankColumnBits) {
        const std::uint64_t lastOfRow = std::uint64_t{field + (1u << RankColumnBits) - 1}
                                        << RankFieldShift;
        EXPECT_LT(RankSlot(lastOfRow), static_cast<std::uint32_t>(RankSlotCount)) << field;
    }
    EXPECT_LT(sizeof(EvaluatorTables), 2000000u);
}

TEST(EvaluatorTables, AnEmptySlotOfACompleteHandShowsInTheFlushBits)
{
    // Every count of empty slots with every spread of the cards present over the suits: the
    // complete-hand keys' sum has a flush bit set, and its carries stay below the gap counter.
    for (int gaps = 1; gaps <= 7; ++gaps) {
        const int present = 7 - gaps;
        for (int a = 0; a <= present; ++a)
            for (int b = 0; a + b <= present; ++b)
                for (int c = 0; a + b + c <= present; ++c) {
                    const int perSuit[4] = {a, b, c, present - a - b - c};
                    std::uint64_t sum = SuitCountersStart + gaps * HandKey(NoCard);
                    for (int suit = 0; suit < 4; ++suit)
                        sum += static_cast<std::uint64_t>(perSuit[suit]) * HandKey(13 * suit);
                    EXPECT_NE(sum & FlushBits, 0u) << gaps << ' ' << a << b << c;
                    EXPECT_EQ((sum & GapBits) >> std::countr_zero(GapBits),
                              static_cast<std::uint64_t>(gaps));
                }
    }
}

TEST(Evaluator, EveryFiveCardHandScoresAsTheReferenceInTheKnownCategoryCounts)
{
    std::array<std::int64_t, HandTypeCount> counts{};
    std::int64_t mismatches = 0;
    Card f[5];
    for (f[0] = 0; f[0] < 48; ++f[0])
        for (f[1] = f[0] + 1; f[1] < 49; ++f[1])
            for (f[2] = f[1] + 1; f[2] < 50; ++f[2])
                for (f[3] = f[2] + 1; f[3] < 51; ++f[3])
                    for (f[4] = f[3] + 1; f[4] < 52; ++f[4]) {
                        const HandScore score = ScoreFive(f);
                        ++counts[static_cast<std::size_t>(HandTypeOf(score))];
                        if (score != ReferenceScoreFive(f) && ++mismatches < 10)
                            ADD_FAILURE()
                                << f[0] << ' ' << f[1] << ' ' << f[2] << ' ' << f[3] << ' ' << f[4];
                    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(counts, (std::array<std::int64_t, HandTypeCount>{1302540, 1098240, 123552, 54912,
                                                               10200, 5108, 3744, 624, 36, 4}));
}

TEST(Evaluator, SevenCardHandsFallIntoTheKnownCategoryCounts)
{
    HandTypeCounts counts{};
    Card h[4] = {NoCard, NoCard, NoCard, NoCard};
    Card b[5];
    for (h[0] = 0; h[0] < 46; ++h[0])
        for (h[1] = h[0] + 1; h[1] < 47; ++h[1])
            for (b[0] = h[1] + 1; b[0] < 48; ++b[0])
                for (b[1] = b[0] + 1; b[1] < 49; ++b[1])
                    for (b[2] = b[1] + 1; b[2] < 50; ++b[2])
                        for (b[3] = b[2] + 1; b[3] < 51; ++b[3])
                            for (b[4] = b[3] + 1; b[4] < 52; ++b[4])
                                ++counts[static_cast<std::size_t>(
                                    HandTypeOf(EvaluateTexas(h, b, NoThreshold)))];
    EXPECT_EQ(counts, SevenCardHandCounts);
}

TEST(Evaluator, RandomHandsMatchTheReferenceWithAndWithoutThresholds)
{
    appState.gameVariant = TexasHoldem;
    ExpectRandomHandsMatch(EvaluateTexas, ReferenceEvaluate<false>, 20240611, HandCount);
    appState.gameVariant = OmahaHoldem;
    ExpectRandomHandsMatch(EvaluateOmaha, ReferenceEvaluate<true>, 7781, HandCount / 2);
    appState.gameVariant = TexasHoldem;
}

TEST(Evaluator, KnownHandsScoreAsTheRulesSay)
{
    enum Kind { Texas, Omaha, AsTexas, AsOmaha };  // the last two through EvaluateHand
    struct Case {
        Kind kind;
        const char *hole, *board;
        HandScore expected;
        std::int32_t threshold = NoThreshold;
    };
    const Case cases[] = {
        // Omaha, two hole and three board cards: four suited in the hole or on the board make no
        // flush, two and three do; four Aces are a pair; board trips and a hole pair, a house;
        // the steel wheel with two from the hand.
        {Omaha, "Ah 9h 7h 4h", "Kh Qh 2s 5d Tc", 0x0EDCA9},
        {Omaha, "Ah 9s 7d 4c", "Kh Qh 2h 5h Tc", 0x0EDCA9},
        {Omaha, "Ah 9h 7d 4c", "Kh Qh 2h 5s Tc", 0x5EDC92},
        {Omaha, "Ac Kc 2s 7h", "Qc Jc Tc 4s 5h", 0x900000},
        {Omaha, "As Ah Ad Ac", "5s 6h 7d 8c 9s", 0x1E9870},
        {Omaha, "9s 9h 2d 3c", "9d Ks Kh Kd 4s", 0x6D9000},
        {Omaha, "As 2s Kd Kc", "3s 4s 5s 9h 9c", 0x850000},
        {Omaha, "As 2s 3s 4s", "5s 9h 9c Kd Qd", 0x19ED40},
        // EvaluateHand: Texas reads hole slots 0 and 1 only, Omaha makes three Aces with slot 2.
        {AsTexas, "Ah 9s Ad 4c", "Kh Qh 2h 5s Ac", 0x1EDC90},
        {AsOmaha, "Ah 9s Ad 4c", "Kh Qh 2h 5s Ac", 0x3EDC00},
        // A threshold returns the first set beating it, else the maximum; a threshold equal to
        // the best is not beaten. Texas: set {0,1,2,4,5} first pairs the Kings; Omaha: hole
        // pair (0,2) beats Ace-Queen high at once.
        {Texas, "2s 5h", "7d 9c Ks Kh 3d", 0x1D7520, 0x1C0000},
        {Texas, "2s 5h", "7d 9c Ks Kh 3d", 0x1D9750, 0x1D9750},
        {Texas, "2s 5h", "7d 9c Ks Kh 3d", 0x1D9750, 0x300000},
        {Texas, "2s 5h", "7d 9c Ks Kh 3d", 0x1D9750, 0x1D974F},
        {Omaha, "2s 8h Ad Ac", "Qs 7h 5d 9c 3s", 0x0EC752, 0x0EC000},
        {Omaha, "2s 8h Ad Ac", "Qs 7h 5d 9c 3s", 0x1EC970, 0x1EC970},
    };
    for (const Case& c : cases) {
        const std::array<Card, 4> hole = Cards<4>(c.hole);
        const std::array<Card, 5> board = Cards<5>(c.board);
        appState.gameVariant = c.kind == AsOmaha ? OmahaHoldem : TexasHoldem;
        auto evaluate = c.kind == Texas   ? EvaluateTexas
                        : c.kind == Omaha ? EvaluateOmaha
                                          : EvaluateHand;
        EXPECT_EQ(evaluate(hole.data(), board.data(), c.threshold), c.expected)
            << c.hole << " | " << c.board << " over " << c.threshold;
    }
    appState.gameVariant = TexasHoldem;
}

TEST(HandDescription, TellsEveryCategoryAndReportsImpossibleRanks)
{
    HeadlessReset();
    // With four cards known, four of a kind has no kicker.
    const std::pair<HandScore, const char*> cases[] = {
        {0x900000, "Royal Flush"},
        {0x850000, "Straight Flush on Five"},
        {0x8D0000, "Straight Flush on King"},
        {0x7ED000, "Four of a kind (Aces) plus King"},
        {0x7E0000, "Four of a kind (Aces) plus <unknown>"},
        {0x63E000, "Full House, Threes and Aces"},
        {0x500000, "Simple flush"},
        {0x5EDCB9, "Simple flush"},
        {0x450000, "Straight, Five high"},
        {0x4E0000, "Straight, Ace high"},
        {0x3D0000, "Three of a kind (Kings)"},
        {0x2DC200, "Two pairs, Kings and Queens"},
        {0x1E0000, "Pair of Aces"},
        {0x160000, "Pair of Sixes"},
        {0x0D0000, "High Card (King)"},
        {0, "No Hand"},
        {-5, "No Hand"}};
    for (const auto& [score, text] : cases)
        EXPECT_EQ(HandDescription(score), text) << std::hex << score;
    std::string names;
    AppendRankName(names, 1, false);
    AppendRankName(names, 14, true);
    AppendRankName(names, 0, true);
    EXPECT_EQ(names, "AceAces<unknown>");
    EXPECT_TRUE(HeadlessMessageBoxes().empty());

    // A nibble of 15 never comes from the evaluator; it is reported and the sentence goes on.
    EXPECT_EQ(HandDescription(0x1F0000), "Pair of ");
    ASSERT_EQ(HeadlessMessageBoxes().size(), 1u);
    EXPECT_EQ(HeadlessMessageBoxes()[0].text, "ERROR CARD TYPE SCORE 15");
    EXPECT_EQ(HeadlessMessageBoxes()[0].caption, "Error!");
    EXPECT_EQ(HeadlessMessageBoxes()[0].owner, appState.mainDialog);
}
