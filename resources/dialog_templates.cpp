#include "resources/dialog_templates.h"

#include "resources/control_ids.h"

namespace {

using K = ControlKind;

constexpr ControlTemplate MainDialogControls[] = {
    {NewHandCommand, K::PushButton, 269, 261, 50, 14, "New Hand", true},
    {UnaddressedControl, K::CenterText, 56, 7, 54, 11, "Player's Hand", false},
    {WinShareControl, K::SunkenText, 225, 168, 31, 13, "1000", false},
    {UnaddressedControl, K::CenterText, 56, 69, 54, 11, "Table Cards", false},
    {HandTypeControl, K::SunkenText, 13, 130, 144, 12, "Hand type", false},
    {TieShareControl, K::SunkenText, 276, 168, 31, 13, "1000", false},
    {UnaddressedControl, K::GroupBox, 167, 7, 198, 153, "Results", false},
    {UnaddressedControl, K::LeftText, 173, 19, 53, 10, "High Card", false},
    {FirstBarControl, K::BlackFrame, 228, 20, 102, 7, "", false},
    {UnaddressedControl, K::LeftText, 173, 31, 53, 10, "One Pair", false},
    {FirstBarControl + 1, K::BlackFrame, 228, 32, 102, 7, "", false},
    {UnaddressedControl, K::LeftText, 173, 43, 53, 10, "Two Pairs", false},
    {FirstBarControl + 2, K::BlackFrame, 228, 44, 102, 7, "", false},
    {UnaddressedControl, K::LeftText, 173, 55, 53, 10, "Three of a Kind", false},
    {FirstBarControl + 3, K::BlackFrame, 228, 56, 102, 7, "", false},
    {UnaddressedControl, K::LeftText, 173, 67, 53, 10, "Straight", false},
    {FirstBarControl + 4, K::BlackFrame, 228, 68, 102, 7, "", false},
    {UnaddressedControl, K::LeftText, 173, 79, 53, 10, "Flush", false},
    {FirstBarControl + 5, K::BlackFrame, 228, 80, 102, 7, "", false},
    {UnaddressedControl, K::LeftText, 173, 91, 53, 10, "Full House", false},
    {FirstBarControl + 6, K::BlackFrame, 228, 92, 102, 7, "", false},
    {UnaddressedControl, K::LeftText, 173, 103, 53, 10, "Four of a Kind", false},
    {FirstBarControl + 7, K::BlackFrame, 228, 104, 102, 7, "", false},
    {UnaddressedControl, K::LeftText, 173, 115, 53, 10, "Straight Flush", false},
    {FirstBarControl + 8, K::BlackFrame, 228, 116, 102, 7, "", false},
    {UnaddressedControl, K::LeftText, 173, 127, 53, 10, "Royal Flush", false},
    {FirstBarControl + 9, K::BlackFrame, 228, 128, 102, 7, "", false},
    {UnaddressedControl, K::LeftText, 173, 142, 44, 10, "Best Possible", false},
    {BestPossibleControl, K::SunkenText, 221, 142, 138, 12, "Hand type", false},
    {FirstPercentControl, K::SunkenText, 332, 19, 27, 9, "45.8", false},
    {FirstPercentControl + 1, K::SunkenText, 332, 31, 27, 9, "45.8", false},
    {FirstPercentControl + 2, K::SunkenText, 332, 43, 27, 9, "45.8", false},
    {FirstPercentControl + 3, K::SunkenText, 332, 55, 27, 9, "45.8", false},
    {FirstPercentControl + 4, K::SunkenText, 332, 67, 27, 9, "45.8", false},
    {FirstPercentControl + 5, K::SunkenText, 332, 79, 27, 9, "45.8", false},
    {FirstPercentControl + 6, K::SunkenText, 332, 91, 27, 9, "45.8", false},
    {FirstPercentControl + 7, K::SunkenText, 332, 103, 27, 9, "45.8", false},
    {FirstPercentControl + 8, K::SunkenText, 332, 115, 27, 9, "45.8", false},
    {FirstPercentControl + 9, K::SunkenText, 332, 127, 27, 9, "0.008%", false},
    {LossShareControl, K::SunkenText, 327, 168, 31, 13, "1000", false},
    {ModellingCheckBox, K::CheckBox, 247, 237, 83, 8, "Opponent Modelling", true},
    {VariantButton, K::PushButton, 51, 146, 78, 14, "Texas Hold'em Poker", true},
    {OpponentsControl, K::BlackFrame, 7, 167, 198, 122, "", false},
    {GainControl, K::BlackFrame, 239, 198, 105, 21, "", false},
    {HandCardsControl, K::BlackFrame, 14, 21, 141, 41, "", false},
    {TableCardsControl, K::BlackFrame, 14, 83, 141, 41, "", false},
    {WinLegendControl, K::WhiteFrame, 215, 171, 9, 8, "", false},
    {TieLegendControl, K::WhiteFrame, 266, 171, 9, 8, "", false},
    {LossLegendControl, K::WhiteFrame, 317, 171, 9, 8, "", false},
    {ActivityStripControl, K::BlackFrame, 239, 220, 106, 3, "", false},
};

constexpr ControlTemplate PrecalcDialogControls[] = {
    {ProgressControl, K::BlackFrame, 27, 25, 274, 15, "", false},
    {UnaddressedControl, K::CenterText, 114, 10, 100, 9, "Generating Precalculated Data", false},
    {UnaddressedControl, K::RightText, 7, 28, 15, 8, "0%", false},
    {UnaddressedControl, K::CenterText, 303, 28, 18, 8, "100%", false},
    {QuickButton, K::PushButton, 7, 57, 72, 17, "Quick Calculation", true},
    {NormalButton, K::PushButton, 128, 57, 72, 17, "Normal Calculation", true},
    {DetailedButton, K::PushButton, 249, 57, 72, 17, "Detailed Calculation", true},
};

constexpr ControlTemplate AddPlayerDialogControls[] = {
    {OkCommand, K::PushButton, 27, 54, 49, 15, "Add Player", true},
    {CancelCommand, K::PushButton, 93, 54, 49, 15, "Cancel", true},
    {NameEditControl, K::Edit, 7, 7, 157, 15, "", true},
    {AggressionBarControl, K::HScrollBar, 66, 26, 98, 10, "", false},
    {UnaddressedControl, K::LeftText, 7, 28, 52, 8, "Aggression", false},
    {BluffingBarControl, K::HScrollBar, 66, 39, 98, 10, "", false},
    {UnaddressedControl, K::LeftText, 7, 41, 52, 8, "Bluffing", false},
};

constexpr DialogTemplate Templates[] = {
    {MainDialogTemplate, "Tablewise Application", 372, 297, MainDialogControls},
    {PrecalcDialogTemplate, "Precalculating Data", 328, 81, PrecalcDialogControls},
    {AddPlayerDialogTemplate, "Add New Player", 171, 76, AddPlayerDialogControls},
};

constexpr int ScaleX(int units)
{
    return (units * 6 + 2) / 4;
}

constexpr int ScaleY(int units)
{
    return (units * 13 + 4) / 8;
}

}  // namespace

const DialogTemplate* FindDialogTemplate(int templateId)
{
    for (const DialogTemplate& t : Templates)
        if (t.id == templateId)
            return &t;
    return nullptr;
}

PixelRect DialogRectToPixels(int x, int y, int width, int height)
{
    return {ScaleX(x), ScaleY(y), ScaleX(x + width), ScaleY(y + height)};
}
