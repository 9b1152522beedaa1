#include "odds/starting_hands.h"

#include "app/state.h"
#include "cards/evaluator.h"
#include "odds/screen.h"

#include <algorithm>

bool ComputeNextCell(int level)
{
    StartingHandTable& table = appState.startingHandTable;
    // The cursor rests on (12, 12) after the last cell; stepping on would leave the tables.
    if (table.cursorRow >= 12)
        return true;
    if (++table.cursorColumn > 12) {
        ++table.cursorRow;
        table.cursorColumn = table.cursorRow;
    }
    ++appState.precalcCellsDone;
    RepaintPrecalculation();  // the progress bar moves before the work

    const int row = table.cursorRow;
    const int column = table.cursorColumn;
    const Card offsuit[2] = {row, 13 + column};  // suits 0 and 1
    const float offsuitValue = static_cast<float>(StartingHandEquity(offsuit, level));
    table.offsuit[column][row] = offsuitValue;
    table.offsuit[row][column] = offsuitValue;
    if (row != column) {
        const Card suited[2] = {row, column};  // both of suit 0
        const float suitedValue = static_cast<float>(StartingHandEquity(suited, level));
        table.suited[column][row] = suitedValue;
        table.suited[row][column] = suitedValue;
    } else {
        table.suited[row][row] = 0.0f;
    }
    return row == 12 && column == 12;
}

double StartingHandEquity(const Card cards[2], int level)
{
    level = std::clamp(level, 1, 3);
    const int opponents = 2 * level;
    const int boards = level * level * 1500 / 4;
    const Card hole[4] = {cards[0], cards[1], NoCard, NoCard};

    UsedCards used;
    used[cards[0]] = 1;
    used[cards[1]] = 1;
    int wins = 0;
    int ties = 0;
    Card board[5];
    Card opponent[4] = {NoCard, NoCard, NoCard, NoCard};
    for (int b = 0; b < boards; ++b) {
        for (Card& card : board)
            card = DrawUnusedCard(used);
        const TexasBoard onBoard(board);
        const HandScore hero = BestTexasOnBoard(onBoard, hole);
        // Each opponent is its own head-to-head trial on this board. Only the first card is
        // marked while the second is drawn, so opponents of one board may share cards.
        for (int o = 0; o < opponents; ++o) {
            opponent[0] = DrawUnusedCard(used);
            Card second = RandomCard();
            while (used[second] == 1)
                second = RandomCard();
            opponent[1] = second;
            const HandScore score = BestTexasOnBoard(onBoard, opponent);
            if (hero > score)
                ++wins;
            else if (hero == score)
                ++ties;
            used[opponent[0]] = 0;
        }
        for (Card card : board)
            used[card] = 0;
    }

    const double trials = static_cast<double>(boards) * opponents;
    return (((ties / trials) * 0.5 + wins / trials) * 2.0 - 1.0) * 100.0;
}
