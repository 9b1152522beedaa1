#include "app/startup.h"

#include "app/main_dialog.h"
#include "app/precalc_dialog.h"
#include "app/result_bars.h"
#include "app/state.h"
#include "app/touch_points.h"
#include "opponents/opponents_view.h"
#include "render/card_views.h"
#include "render/gain.h"
#include "render/gl_surface.h"
#include "render/outline_text.h"

namespace {

constexpr int OutlineFontHeight = 24;

struct AreaSetup {
    GlArea* area;
    int control;
    const char* failure;
    void (*redraw)();
};

void RedrawGain()
{
    DrawGain(-1);
}

// Sets up one OpenGL area of the main dialog; ends the process when no context can be made.
void SetupArea(const AreaSetup& setup)
{
    Window control = ControlWindow(appState.mainDialog, setup.control);
    GlSurface& surface = setup.area->surface;
    surface.dc = GetDeviceContext(control);
    surface.rc = CreateGlContext(surface.dc);
    if (!surface.rc) {
        ShowMessageBox(appState.mainDialog, setup.failure, "OpenGL initialisation problem",
                       MessageBoxButtons::Ok);
        ExitProcess(0);
    }
    const ScreenRect r = WindowScreenRect(control);
    setup.area->x = r.left - appState.dialogOriginX;
    setup.area->y = r.top - appState.dialogOriginY;
    surface.width = r.right - r.left;
    surface.height = r.bottom - r.top;
    SetGlRedrawRoutine(surface.dc, setup.redraw);
}

void SetupOutlineFontOrExit(const GlSurface& surface)
{
    if (!SetupOutlineFont(surface.dc, surface.rc, OutlineFontHeight))
        ExitProcess(-1);
}

}  // namespace

void SetupGlAreas()
{
    // The client area's screen position, estimated from the outer rectangle (the dialog frame
    // and caption); every move of the dialog replaces it with the exact one.
    const ScreenRect outer = WindowScreenRect(appState.mainDialog);
    appState.dialogOriginX = outer.left + DialogFrameWidth;
    appState.dialogOriginY = outer.top + DialogCaptionHeight;

    SetupArea({&appState.handCardsArea, HandCardsControl,
               "Could not set up Hand Cards sub window for OpenGL display", DrawCardAreas});
    SetupArea({&appState.tableCardsArea, TableCardsControl,
               "Could not set up Table Cards sub window for OpenGL display", DrawCardAreas});
    DrawCardAreas();
    SetupArea({&appState.gainArea, GainControl,
               "Could not set up Gain sub window for OpenGL display", RedrawGain});
    SetupOutlineFontOrExit(appState.gainArea.surface);
    DrawGain(0);
    SetupArea({&appState.opponentsArea, OpponentsControl,
               "Could not set up Opponents sub window for OpenGL display", DrawOpponents});
    SetupOutlineFontOrExit(appState.opponentsArea.surface);
    DrawOpponents();
}

bool RegisterCardSelectClass(Instance)
{
    return RegisterWindowClass("CardSelectWindow", CardSelectWndProc);
}

bool CreateCardSelectWindow(Instance)
{
    Window window = CreateTopLevelWindow(
        "CardSelectWindow", "Card Selection Window", appState.cardSelectX, appState.cardSelectY,
        appState.selectionSurface.width, appState.selectionSurface.height, appState.mainDialog);
    if (!window)
        return false;
    ShowWindow(window);
    UpdateWindow(window);
    SetFocus(appState.mainDialog);
    SetActiveWindow(appState.mainDialog);
    return true;
}

int RunTablewise(Instance instance)
{
    InstallShellTouchPoints();
    appState.instance = instance;
    CreateDrawingObjects();
    appState.precalcCellsDone = 0;
    appState.precalcCellsTotal = StartingHandCells;
    RunModalDialog(105, nullptr, PrecalcDialogProc);

    Window dialog = CreateModelessDialog(MainDialogTemplate, nullptr, MainDialogProc);
    ShowWindow(dialog);
    SetupGlAreas();
    if (!InitGlState(appState.mainDialog)) {
        ShowMessageBox(appState.mainDialog, "Could not initialise graphics",
                       "Graphics engine error!", MessageBoxButtons::Ok);
        ExitProcess(-1);
    }
    RegisterCardSelectClass(instance);
    if (!CreateCardSelectWindow(instance))
        return 0;
    CreateInitialRoster(appState.roster, appState.opponentsArea.surface.width,
                        appState.opponentsArea.surface.height);
    if (!LoadCardTexture())
        return 0;
    SetFocus(appState.mainDialog);
    SetActiveWindow(appState.mainDialog);

    const int code = RunMessageLoop(appState.mainDialog);
    DestroyWindow(appState.mainDialog);
    return code;
}
