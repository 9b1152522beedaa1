#include "app/touch_points.h"

#include "app/new_hand.h"
#include "app/result_bars.h"
#include "app/state.h"
#include "app/typed_cards.h"
#include "odds/screen.h"
#include "render/card_views.h"
#include "render/gain.h"

void InstallShellTouchPoints()
{
    ScreenTouchPoints points;
    points.drawResultBars = [] { DrawResultBars(appState.mainDialog); };
    points.drawGain = DrawGain;
    points.setControlText = [](int controlId, std::string_view text) {
        SetControlText(appState.mainDialog, controlId, text);
    };
    points.isControlChecked = [](int controlId) {
        return IsControlChecked(appState.mainDialog, controlId);
    };
    points.repaintPrecalculation = [] { RequestPaint(appState.precalcDialog, true); };
    points.showMessageBox = [](std::string_view text, std::string_view caption) {
        ShowMessageBox(appState.mainDialog, text, caption, MessageBoxButtons::Ok);
    };
    InstallScreenTouchPoints(points);
    SetCardsChangedHandler([] { RefreshResults(appState.mainDialog, appState); });
    SetCardSelectKeyHandler(OnTypedKey);
}
