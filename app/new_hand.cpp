#include "app/new_hand.h"

#include "app/dialog_controls.h"
#include "app/result_bars.h"
#include "cards/evaluator.h"
#include "cards/hand_description.h"

#include <ctime>

void NewHand(Window dialog, CardBlock& cards)
{
    SeedRandom(static_cast<std::uint32_t>(std::time(nullptr)));
    cards.holeCards.fill(NoCard);
    cards.tableCards.fill(NoCard);
    for (int id : {WinShareControl, TieShareControl, LossShareControl})
        SetControlText(dialog, id, "--");
    ClearHandTypeCounts(appState);
    for (int i = 0; i < appState.roster.count(); ++i)
        appState.roster.at(i).playing = true;
    ClearOutcomeCounts(appState);
    DrawResultBars(dialog);
    RefreshResults(dialog, cards);
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
