#include "app/new_hand.h"

#include "app/result_bars.h"
#include "cards/evaluator.h"
#include "cards/hand_description.h"

#include <ctime>

namespace {

constexpr int WinText = 1012;
constexpr int TieText = 1013;
constexpr int LossText = 1014;
constexpr int HandTypeText = 1043;

}  // namespace

void NewHand(Window dialog, CardBlock& cards)
{
    SeedRandom(static_cast<std::uint32_t>(std::time(nullptr)));
    cards.holeCards.fill(NoCard);
    cards.tableCards.fill(NoCard);
    for (int id : {WinText, TieText, LossText})
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
    DescribeHand(dialog, HandTypeText, score);
    const OutcomeCounts& counts = appState.outcomeCounts;
    const std::int64_t total = counts.total();
    SetControlText(appState.mainDialog, WinText, FormatPercent(counts.wins, total));
    SetControlText(appState.mainDialog, TieText, FormatPercent(counts.ties, total));
    SetControlText(appState.mainDialog, LossText, FormatPercent(counts.losses, total));
    RequestPaint(appState.mainDialog, false);
}
