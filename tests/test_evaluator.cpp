// The evaluator on known hands and thresholds, seven-card category counts, rank-key properties.
#include "cards/evaluator.h"
#include "cards/evaluator_tables.h"

#include "app/state.h"
#include "odds/evaluate_hand.h"
#include "tests/support/card_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace {

// ScoreFive (board only), EvaluateTexas, EvaluateOmaha, EvaluateHand under either variant.
enum Kind { Five, Texas, Omaha, AsTexas, AsOmaha };

// Every rank multiset with at most four of a rank and seven cards in all, as key sums.
void CollectSums(int rank, int cards, std::uint32_t sum, std::vector<std::uint32_t>& out)
{
    if (rank == 13) {
        out.push_back(sum);
        return;
    }
    for (int c = 0; c <= 4 && cards + c <= 7; ++c)
        CollectSums(rank + 1, cards + c, sum + RankKeys[static_cast<std::size_t>(rank)] * c, out);
}

}  // namespace

TEST(EvaluatorTables, RankSumsAndTheirSlotsAreDistinctForEveryMultiset)
{
    std::vector<std::uint32_t> sums;
    CollectSums(0, 0, 0, sums);
    ASSERT_EQ(sums.size(), 76155u);
    std::vector<std::uint32_t> slots;
    for (std::uint32_t s : sums)
        slots.push_back(RankSlot(RankField(s)));
    for (std::vector<std::uint32_t>* v : {&sums, &slots}) {
        std::sort(v->begin(), v->end());
        EXPECT_EQ(std::adjacent_find(v->begin(), v->end()), v->end());
    }
    EXPECT_LT(sums.back(), 1u << RankFieldBits);  // distinct modulo the field's size
    EXPECT_LT(slots.back(), static_cast<std::uint32_t>(RankSlotCount));
    EXPECT_LT(sizeof(EvaluatorTables), 2000000u);
}

TEST(Evaluator, SevenCardHandsFallIntoTheKnownCategoryCounts)
{
    std::array<std::int64_t, HandTypeCount> counts{};
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
    EXPECT_EQ(counts, (std::array<std::int64_t, HandTypeCount>{23294460, 58627800, 31433400,
                                                               6461620, 6180020, 4047644, 3473184,
                                                               224848, 37260, 4324}));
}

TEST(Evaluator, KnownHandsScoreAsTheRulesSay)
{
    struct Case {
        Kind kind;
        const char* hole;
        const char* board;
        HandScore expected;
        std::int32_t threshold = NoThreshold;
    };
    const Case cases[] = {
        // Straights: wheel, steel wheel, Ace-high, royal; none around the corner.
        {Five, "", "As 2h 3d 4c 5s", 0x450000},
        {Five, "", "Ad 2d 3d 4d 5d", 0x850000},
        {Five, "", "Ts Jh Qd Kc As", 0x4E0000},
        {Five, "", "Th Jh Qh Kh Ah", 0x900000},
        {Five, "", "Ks Ah 2d 3c 4s", 0x0ED432},
        // Missing cards: no kicker nibble, no flush of four, nothing at all.
        {Five, "", "Ks -- Kh 4d 4c", 0x2D4000},
        {Five, "", "Kh 9h -- 4h 2h", 0x0D9420},
        {Five, "", "As", 0x0E0000},
        {Five, "", "", 0},
        {Texas, "", "", 0},
        {Omaha, "", "", 0},
        {Texas, "As Ah", "", 0x1E0000},
        {Texas, "As --", "Kh Qd Jc -- Ts", 0x4E0000},
        // Texas, best five of seven: royal whatever else lies there, six-card straight, no
        // corner straight, three pairs, six-card flush, two sets of three, four and a kicker.
        {Texas, "Ac Kc", "Qc Jc Tc 2s 7h", 0x900000},
        {Texas, "Ac Kc", "Qc Jc Tc 9c Ks", 0x900000},
        {Texas, "As 2h", "3d 4c 5s 6h Kd", 0x460000},
        {Texas, "Ks Ah", "2d 3c 4s 9h 8d", 0x0ED984},
        {Texas, "As Ah", "Kd Kc 2s 2h Qd", 0x2EDC00},
        {Texas, "Ad 3d", "9d Kd 7d 5d Ks", 0x5ED975},
        {Texas, "3s 3h", "3d 9s 9h 9d Ac", 0x693000},
        {Texas, "8s 8h", "8d 8c Ks Kh Ad", 0x78E000},
        // Omaha, two hole and three board cards: four suited in the hole or on the board make no
        // flush, two and three do; four Aces are a pair; board trips and a hole pair, a house.
        {Omaha, "Ah 9h 7h 4h", "Kh Qh 2s 5d Tc", 0x0EDCA9},
        {Omaha, "Ah 9s 7d 4c", "Kh Qh 2h 5h Tc", 0x0EDCA9},
        {Omaha, "Ah 9h 7d 4c", "Kh Qh 2h 5s Tc", 0x5EDC92},
        {Omaha, "Ac Kc 2s 7h", "Qc Jc Tc 4s 5h", 0x900000},
        {Omaha, "As Ah Ad Ac", "5s 6h 7d 8c 9s", 0x1E9870},
        {Omaha, "9s 9h 2d 3c", "9d Ks Kh Kd 4s", 0x6D9000},
        // EvaluateHand: Texas reads hole slots 0 and 1 only, Omaha makes three Aces with slot 2.
        {AsTexas, "Ah 9s Ad 4c", "Kh Qh 2h 5s Ac", 0x1EDC90},
        {AsOmaha, "Ah 9s Ad 4c", "Kh Qh 2h 5s Ac", 0x3EDC00},
        // A threshold returns the first set beating it, else the maximum. Texas: set {0,1,2,4,5}
        // first pairs the Kings; Omaha: hole pair (0,2) beats Ace-Queen high at once.
        {Texas, "2s 5h", "7d 9c Ks Kh 3d", 0x1D9750},
        {Texas, "2s 5h", "7d 9c Ks Kh 3d", 0x1D7520, 0x1C0000},
        {Texas, "2s 5h", "7d 9c Ks Kh 3d", 0x1D9750, 0x1D9750},
        {Texas, "2s 5h", "7d 9c Ks Kh 3d", 0x1D9750, 0x300000},
        {Texas, "2s 5h", "7d 9c Ks Kh 3d", 0x1D9750, 0x1D974F},
        {Omaha, "2s 8h Ad Ac", "Qs 7h 5d 9c 3s", 0x1EC970},
        {Omaha, "2s 8h Ad Ac", "Qs 7h 5d 9c 3s", 0x0EC752, 0x0EC000},
        {Omaha, "2s 8h Ad Ac", "Qs 7h 5d 9c 3s", 0x1EC970, 0x1EC970},
    };
    for (const Case& c : cases) {
        const std::array<Card, 4> hole = Cards<4>(c.hole);
        const std::array<Card, 5> board = Cards<5>(c.board);
        auto evaluate = c.kind == Texas   ? EvaluateTexas
                        : c.kind == Omaha ? EvaluateOmaha
                                          : EvaluateHand;
        appState.gameVariant = c.kind == AsOmaha ? OmahaHoldem : TexasHoldem;
        EXPECT_EQ(c.kind == Five ? ScoreFive(board.data())
                                 : evaluate(hole.data(), board.data(), c.threshold),
                  c.expected)
            << c.hole << " | " << c.board << " over " << c.threshold;
    }
    appState.gameVariant = TexasHoldem;
}
