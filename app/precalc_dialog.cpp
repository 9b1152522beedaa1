#include "app/precalc_dialog.h"

#include "app/state.h"
#include "odds/starting_hands.h"

namespace {

struct ProgressBar {
    Window control = nullptr;  // control 1086
    int width = 0;             // its client size
    int height = 0;
};
ProgressBar progress;

int OnPrecalcInit(Window dialog)
{
    appState.precalcDialog = dialog;
    progress.control = ControlWindow(dialog, ProgressControl);
    const ClientSize size = WindowClientSize(progress.control);
    progress.width = size.width;
    progress.height = size.height;
    SetTimer(dialog, PrecalcTimer, PrecalcTimerPeriodMs);
    return 0;  // no focus is set
}

int OnPrecalcCommand(int id)
{
    switch (id) {
    case QuickButton:
        appState.precalcLevel = QuickCalculation;
        return 1;
    case NormalButton:
        appState.precalcLevel = NormalCalculation;
        return 1;
    case DetailedButton:
        appState.precalcLevel = DetailedCalculation;
        return 1;
    case OkCommand:
    case CancelCommand:
        ExitProcess(0);  // closing the dialog at any moment ends the program
    default:
        return 0;
    }
}

// One cell per tick once a level is chosen; the last cell closes the dialog.
void AdvancePrecalculation(Window dialog)
{
    if (appState.precalcLevel > 0 && !appState.precalcButtonsDisabled) {
        for (int id : {QuickButton, NormalButton, DetailedButton})
            EnableControl(dialog, id, false);
        appState.precalcButtonsDisabled = true;
    }
    if (appState.precalcLevel != LevelNotChosen && ComputeNextCell(appState.precalcLevel))
        DestroyWindow(dialog);
}

void PaintProgressBar()
{
    AppState& s = appState;
    if (s.precalcCellsDone > s.precalcCellsTotal)
        s.precalcCellsDone = s.precalcCellsTotal;
    const int len =
        s.precalcCellsTotal == 0 ? 0 : s.precalcCellsDone * progress.width / s.precalcCellsTotal;
    DeviceContext dc = GetDeviceContext(progress.control);
    SelectPen(dc, StockBlackPen());
    SelectBrush(dc, StockBlackBrush());
    Rectangle(dc, len, 1, progress.width, progress.height);  // still to do
    SelectBrush(dc, s.redBrush);
    Rectangle(dc, 1, 1, len, progress.height);  // done, the cell being computed included
    ReleaseDeviceContext(progress.control, dc);
}

}  // namespace

int PrecalcDialogProc(Window dialog, Message message, const MessageParams& params)
{
    switch (message) {
    case Message::InitDialog:
        return OnPrecalcInit(dialog);
    case Message::Command:
        return OnPrecalcCommand(params.id);
    case Message::Timer:
        AdvancePrecalculation(dialog);
        return 1;
    case Message::Paint:
        PaintProgressBar();
        return 1;
    case Message::Destroy:
        progress = ProgressBar{};
        appState.precalcDialog = nullptr;
        return 1;
    default:
        return 0;
    }
}
