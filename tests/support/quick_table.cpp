#include "tests/support/quick_table.h"

#include "app/state.h"
#include "odds/starting_hands.h"

const StartingHandTable& QuickStartingHandTable()
{
    static const StartingHandTable table = [] {
        ResetAppState(appState);
        SeedRandom(1);
        for (int cell = 0; cell < StartingHandCells; ++cell)
            ComputeNextCell(QuickCalculation);
        return appState.startingHandTable;
    }();
    return table;
}
