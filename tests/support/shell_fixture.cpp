#include "tests/support/shell_fixture.h"

#include "app/main_dialog.h"
#include "app/result_bars.h"
#include "app/startup.h"
#include "platform/headless/headless.h"
#include "render/gl_surface.h"
#include "tests/support/quick_table.h"

enum class ProcessExit : int {};  // thrown by the exit handler with the code

void CatchProcessExit()
{
    HeadlessSetExitHandler([](int code) { throw ProcessExit{code}; });
}

int ExitCodeOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (ProcessExit code) {
        return static_cast<int>(code);
    }
    return 1000;
}

Window SelectionWindow()
{
    for (Window w : HeadlessTopLevelWindows())
        if (HeadlessWindowText(w) == "Card Selection Window")
            return w;
    return nullptr;
}

Window OpenSelectionWindow()
{
    const bool opened = RegisterCardSelectClass(nullptr) && CreateCardSelectWindow(nullptr);
    return opened && LoadCardTexture() ? SelectionWindow() : nullptr;
}

Window StartMainDialog()
{
    // The contexts a previous test left in the state block go before it is reset.
    for (GlSurface* surface :
         {&appState.handCardsArea.surface, &appState.tableCardsArea.surface,
          &appState.gainArea.surface, &appState.opponentsArea.surface, &appState.selectionSurface})
        DeleteGlContext(surface->rc);
    const StartingHandTable table = QuickStartingHandTable();
    HeadlessReset();
    HeadlessFailGl(GlFailure::None);
    ResetAppState(appState);
    appState.startingHandTable = table;
    CreateDrawingObjects();
    CatchProcessExit();
    Window dialog = CreateModelessDialog(101, nullptr, MainDialogProc);
    ShowWindow(dialog);
    SetupGlAreas();
    InitGlState(dialog);
    LoadCardTexture();
    return dialog;
}

void MouseAt(Message message, int x, int y)
{
    SendWindowMessage(appState.mainDialog, message, {.x = x, .y = y});
}

std::pair<int, int> HoverMarker(int index)
{
    const Player& p = appState.roster.at(index);
    const GlArea& area = appState.opponentsArea;
    const int x = area.x + p.x, y = area.y + area.surface.height - p.y;
    MouseAt(Message::MouseMove, x, y);
    return {x, y};
}
