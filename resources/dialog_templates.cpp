#include "resources/dialog_templates.h"

namespace {

using K = ControlKind;

constexpr ControlTemplate MainDialogControls[] = {
    {3, K::PushButton, 269, 261, 50, 14, "New Hand", true},
    {-1, K::CenterText, 56, 7, 54, 11, "Player's Hand", false},
    {1012, K::SunkenText, 225, 168, 31, 13, "1000", false},
    {-1, K::CenterText, 56, 69, 54, 11, "Table Cards", false},
    {1043, K::SunkenText, 13, 130, 144, 12, "Hand type", false},
    {1013, K::SunkenText, 276, 168, 31, 13, "1000", false},
    {-1, K::GroupBox, 167, 7, 198, 153, "Results", false},
    {-1, K::LeftText, 173, 19, 53, 10, "High Card", false},
    {1051, K::BlackFrame, 228, 20, 102, 7, "", false},
    {-1, K::LeftText, 173, 31, 53, 10, "One Pair", false},
    {1052, K::BlackFrame, 228, 32, 102, 7, "", false},
    {-1, K::LeftText, 173, 43, 53, 10, "Two Pairs", false},
    {1053, K::BlackFrame, 228, 44, 102, 7, "", false},
    {-1, K::LeftText, 173, 55, 53, 10, "Three of a Kind", false},
    {1054, K::BlackFrame, 228, 56, 102, 7, "", false},
    {-1, K::LeftText, 173, 67, 53, 10, "Straight", false},
    {1055, K::BlackFrame, 228, 68, 102, 7, "", false},
    {-1, K::LeftText, 173, 79, 53, 10, "Flush", false},
    {1056, K::BlackFrame, 228, 80, 102, 7, "", false},
    {-1, K::LeftText, 173, 91, 53, 10, "Full House", false},
    {1057, K::BlackFrame, 228, 92, 102, 7, "", false},
    {-1, K::LeftText, 173, 103, 53, 10, "Four of a Kind", false},
    {1058, K::BlackFrame, 228, 104, 102, 7, "", false},
    {-1, K::LeftText, 173, 115, 53, 10, "Straight Flush", false},
    {1059, K::BlackFrame, 228, 116, 102, 7, "", false},
    {-1, K::LeftText, 173, 127, 53, 10, "Royal Flush", false},
    {1060, K::BlackFrame, 228, 128, 102, 7, "", false},
    {-1, K::LeftText, 173, 142, 44, 10, "Best Possible", false},
    {1061, K::SunkenText, 221, 142, 138, 12, "Hand type", false},
    {1073, K::SunkenText, 332, 19, 27, 9, "45.8", false},
    {1074, K::SunkenText, 332, 31, 27, 9, "45.8", false},
    {1075, K::SunkenText, 332, 43, 27, 9, "45.8", false},
    {1076, K::SunkenText, 332, 55, 27, 9, "45.8", false},
    {1077, K::SunkenText, 332, 67, 27, 9, "45.8", false},
    {1078, K::SunkenText, 332, 79, 27, 9, "45.8", false},
    {1079, K::SunkenText, 332, 91, 27, 9, "45.8", false},
    {1080, K::SunkenText, 332, 103, 27, 9, "45.8", false},
    {1081, K::SunkenText, 332, 115, 27, 9, "45.8", false},
    {1082, K::SunkenText, 332, 127, 27, 9, "0.008%", false},
    {1014, K::SunkenText, 327, 168, 31, 13, "1000", false},
    {1088, K::CheckBox, 247, 237, 83, 8, "Opponent Modelling", true},
    {1091, K::PushButton, 51, 146, 78, 14, "Texas Hold'em Poker", true},
    {1096, K::BlackFrame, 7, 167, 198, 122, "", false},
    {1015, K::BlackFrame, 239, 198, 105, 21, "", false},
    {1094, K::BlackFrame, 14, 21, 141, 41, "", false},
    {1095, K::BlackFrame, 14, 83, 141, 41, "", false},
    {1098, K::WhiteFrame, 215, 171, 9, 8, "", false},
    {1099, K::WhiteFrame, 266, 171, 9, 8, "", false},
    {1100, K::WhiteFrame, 317, 171, 9, 8, "", false},
    {1101, K::BlackFrame, 239, 220, 106, 3, "", false},
};

constexpr ControlTemplate PrecalcDialogControls[] = {
    {1086, K::BlackFrame, 27, 25, 274, 15, "", false},
    {-1, K::CenterText, 114, 10, 100, 9, "Generating Precalculated Data", false},
    {-1, K::RightText, 7, 28, 15, 8, "0%", false},
    {-1, K::CenterText, 303, 28, 18, 8, "100%", false},
    {1093, K::PushButton, 7, 57, 72, 17, "Quick Calculation", true},
    {1094, K::PushButton, 128, 57, 72, 17, "Normal Calculation", true},
    {1095, K::PushButton, 249, 57, 72, 17, "Detailed Calculation", true},
};

constexpr ControlTemplate AddPlayerDialogControls[] = {
    {1, K::PushButton, 27, 54, 49, 15, "Add Player", true},
    {2, K::PushButton, 93, 54, 49, 15, "Cancel", true},
    {1097, K::Edit, 7, 7, 157, 15, "", true},
    {1102, K::HScrollBar, 66, 26, 98, 10, "", false},
    {-1, K::LeftText, 7, 28, 52, 8, "Aggression", false},
    {1103, K::HScrollBar, 66, 39, 98, 10, "", false},
    {-1, K::LeftText, 7, 41, 52, 8, "Bluffing", false},
};

constexpr DialogTemplate Templates[] = {
    {101, "Tablewise Application", 372, 297, MainDialogControls},
    {105, "Precalculating Data", 328, 81, PrecalcDialogControls},
    {110, "Add New Player", 171, 76, AddPlayerDialogControls},
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
