#include "odds/screen.h"

namespace {

ScreenTouchPoints installed;

}  // namespace

void InstallScreenTouchPoints(const ScreenTouchPoints& points)
{
    installed = points;
}

void RedrawResultBars()
{
    if (installed.drawResultBars)
        installed.drawResultBars();
}

void RedrawGain(int opponents)
{
    if (installed.drawGain)
        installed.drawGain(opponents);
}

void SetMainDialogText(int controlId, std::string_view text)
{
    if (installed.setControlText)
        installed.setControlText(controlId, text);
}

bool IsMainDialogChecked(int controlId)
{
    return installed.isControlChecked && installed.isControlChecked(controlId);
}

void RepaintPrecalculation()
{
    if (installed.repaintPrecalculation)
        installed.repaintPrecalculation();
}

void ShowConsistencyMessage(std::string_view text, std::string_view caption)
{
    if (installed.showMessageBox)
        installed.showMessageBox(text, caption);
}
