// The core linked with the headless platform alone, no views and no shell: the three estimates
// run, and with no touch points installed they reach no screen.
#include "app/state.h"
#include "odds/final_hands.h"
#include "odds/starting_hands.h"
#include "odds/win_estimate.h"

#include <gtest/gtest.h>

#include <numeric>

TEST(CoreAlone, TheThreeEstimatesRunWithoutTheViews)
{
    ResetAppState(appState);
    SeedRandom(1);
    int cells = 1;
    while (!ComputeNextCell(QuickCalculation))
        ++cells;
    EXPECT_EQ(cells, StartingHandCells);
    EXPECT_EQ(appState.precalcCellsDone, StartingHandCells);
    EXPECT_GT(appState.startingHandTable.offsuit[0][0], 50.0f);  // a pair of Aces

    AdvanceFinalHandDistribution();  // nothing known: one sampling batch
    const HandTypeCounts& counts = appState.handTypeCounts;
    EXPECT_EQ(std::accumulate(counts.begin(), counts.end(), 0), FinalHandBatchSize);

    CreateInitialRoster(appState.roster, 200, 100);
    appState.holeCards[0] = 0;   // the Ace of the first suit
    appState.holeCards[1] = 13;  // and of the second
    EstimateWin(appState.holeCards.data(), appState.tableCards.data());
    EXPECT_EQ(appState.outcomeCounts.total(), DealsPerEstimate);
    EXPECT_GT(appState.outcomeCounts.wins, appState.outcomeCounts.losses / 2);
}
