#include "app/summary.h"

#include "app/main_dialog.h"
#include "app/result_bars.h"
#include "app/state.h"
#include "app/typed_cards.h"
#include "render/gain.h"
#include "resources/dialog_templates.h"

#include <span>

namespace {

// "Hand: As Kd": the filled slots in slot order.
std::string CardsLine(const char* title, std::span<const Card> slots)
{
    std::string line = title;
    for (Card card : slots)
        if (card >= 0 && card < CardCount) {
            line += ' ';
            line += RankLetters[static_cast<std::size_t>(RankOf(card))];
            line += SuitLetters[static_cast<std::size_t>(SuitOf(card))];
        }
    return line + '\n';
}

// The label beside a bar of the results: the template's text just before the bar's frame.
std::string BarLabel(int barControl)
{
    const DialogTemplate* main = FindDialogTemplate(MainDialogTemplate);
    if (!main)
        return {};
    const auto controls = main->controls;
    for (std::size_t i = 1; i < controls.size(); ++i)
        if (controls[i].id == barControl)
            return controls[i - 1].text;
    return {};
}

}  // namespace

std::string ResultSummary(Window dialog)
{
    const AppState& s = appState;
    std::string text = s.gameVariant == OmahaHoldem ? "Omaha Hold'em\n" : "Texas Hold'em\n";
    text += CardsLine("Hand:", std::span(s.holeCards).first(HoleCount(s.gameVariant)));
    text += CardsLine("Board:", s.tableCards);
    text += "Hand type: " + ControlText(dialog, HandTypeControl) + '\n';
    text += "Best possible: " + ControlText(dialog, BestPossibleControl) + '\n';
    for (int type = 0; type < HandTypeCount; ++type)
        text += (type ? "  " : "") + BarLabel(FirstBarControl + type) + ' ' +
                ControlText(dialog, FirstPercentControl + type);
    text += "\nWin " + ControlText(dialog, WinShareControl) + "  Tie " +
            ControlText(dialog, TieShareControl) + "  Loss " +
            ControlText(dialog, LossShareControl) + '\n';
    // The gain display shows its number once a deal was estimated.
    if (s.outcomeCounts.total() > 0)
        text += "Gain " + FormatGain(gainPercent) + " against " + std::to_string(gainOpponents) +
                (gainOpponents == 1 ? " opponent" : " opponents");
    else
        text += "Gain --";
    text += IsControlChecked(dialog, ModellingCheckBox) ? ", opponent modelling on"
                                                        : ", opponent modelling off";
    text += s.winEstimatePaused ? ", paused\n" : "\n";
    return text;
}
