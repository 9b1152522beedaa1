#include "app/new_hand.h"

#include "app/result_bars.h"
#include "odds/evaluate_hand.h"
#include "odds/hand_description.h"
#include "odds/screen.h"

#include <ctime>

void NewHand(Window dialog, AppState& state)
{
    SeedRandom(static_cast<std::uint32_t>(std::time(nullptr)));
    for (int id : {WinShareControl, TieShareControl, LossShareControl})
        SetControlText(dialog, id, "--");
    ResetForNewHand(state);
    DrawResultBars(dialog);
    RefreshResults(dialog, state);
}

void RefreshResults(Window dialog, CardBlock& cards)
{
    const HandScore score =
        EvaluateHand(cards.holeCards.data(), cards.tableCards.data(), NoThreshold);
    DescribeHand(dialog, HandTypeControl, score);
    const OutcomeCounts& counts = appState.outcomeCounts;
    const std::int64_t total = counts.total();
    SetControlText(appState.mainDialog, WinShareControl, FormatPercent(counts.wins, total));
    SetControlText(appState.mainDialog, TieShareControl, FormatPercent(counts.ties, total));
    SetControlText(appState.mainDialog, LossShareControl, FormatPercent(counts.losses, total));
    RequestPaint(appState.mainDialog, false);
}

void DescribeHand(Window dialog, int controlId, HandScore score)
{
    SetControlText(dialog, controlId, HandDescription(score));
}
