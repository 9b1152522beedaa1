// A look at the desktop platform without the program: the main dialog's template with result
// bars drawn into its frames, two OpenGL areas, a resizable top-level window drawn with OpenGL,
// a popup menu on the right button, the add-player dialog on "New Hand" and a Yes/No box on
// Escape. With a number of seconds as argument it quits by itself after that time.
#include "platform/gl.h"
#include "platform/platform.h"
#include "resources/control_ids.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

Window mainDialog = nullptr;
DeviceContext handDc = nullptr;
GlContext handRc = nullptr;
DeviceContext tableDc = nullptr;
GlContext tableRc = nullptr;
DeviceContext selectDc = nullptr;
GlContext selectRc = nullptr;
int ticks = 0;

void DrawArea(DeviceContext dc, GlContext rc, float red, float green, float blue)
{
    if (!MakeGlCurrent(dc, rc))
        return;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(red, green, blue, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glBegin(GL_TRIANGLES);
    glColor3f(1.0f, 1.0f, 1.0f);
    glVertex2f(-0.5f, -0.5f);
    glVertex2f(0.5f, -0.5f);
    glVertex2f(0.0f, 0.6f);
    glEnd();
    glFlush();
    SwapGlBuffers(dc);
    MakeGlCurrent(nullptr, nullptr);
}

void RedrawHand()
{
    DrawArea(handDc, handRc, 0.0f, 0.4f, 0.0f);
}

void RedrawTable()
{
    DrawArea(tableDc, tableRc, 0.0f, 0.0f, 0.5f);
}

void RedrawSelection()
{
    DrawArea(selectDc, selectRc, 0.3f, 0.3f, 0.3f);
}

void DrawBars(Window dialog)
{
    const Brush colours[] = {CreateSolidBrush(Rgb(255, 0, 0)), CreateSolidBrush(Rgb(0, 0, 255)),
                             CreateSolidBrush(Rgb(0, 160, 0))};
    for (int i = 0; i < 10; ++i) {
        Window bar = ControlWindow(dialog, 1051 + i);
        DeviceContext dc = GetDeviceContext(bar);
        const ClientSize size = WindowClientSize(bar);
        const int length = (size.width * ((i * 17 + ticks) % 100)) / 100;
        SelectBrush(dc, StockWhiteBrush());
        Rectangle(dc, length, 0, size.width, size.height);
        SelectBrush(dc, colours[i % 3]);
        Rectangle(dc, 0, 0, length + 1, size.height);
        ReleaseDeviceContext(bar, dc);
    }
    for (int i = 0; i < 3; ++i) {
        Window legend = ControlWindow(dialog, 1098 + i);
        DeviceContext dc = GetDeviceContext(legend);
        SelectBrush(dc, colours[i]);
        const ClientSize size = WindowClientSize(legend);
        Rectangle(dc, 0, 0, size.width, size.height);
    }
}

int AddPlayerProc(Window dialog, Message message, const MessageParams& params)
{
    switch (message) {
    case Message::InitDialog:
        for (int id : {1102, 1103})
            SetScrollInfo(ControlWindow(dialog, id), {0, 10, 1, 5, 0}, true);
        SetControlText(dialog, 1097, "Opponent 6");
        return 0;
    case Message::Command:
        if (params.id == OkCommand || params.id == CancelCommand)
            EndDialog(dialog, params.id == OkCommand ? 1 : 0);
        return 1;
    case Message::HScroll: {
        ScrollInfo info = GetScrollInfo(params.control);
        const int steps[] = {-1, 1, -5, 5};
        if (params.id <= ScrollPageRight)
            info.pos += steps[params.id];
        else if (params.id == ScrollThumbTrack)
            info.pos = params.position;
        info.pos = info.pos < 0 ? 0 : (info.pos > 10 ? 10 : info.pos);
        SetScrollPosition(params.control, info.pos, true);
        return 0;
    }
    default:
        return 0;
    }
}

void ShowMenu(int x, int y)
{
    Menu menu = CreatePopupMenu();
    AppendMenuItem(menu, 1017, "Playing");
    CheckMenuItem(menu, 1017, true);
    Menu aggression = CreatePopupMenu();
    for (int v = 0; v <= 10; ++v)
        AppendMenuItem(aggression, 1020 + v, std::to_string(v));
    CheckMenuItem(aggression, 1025, true);
    AppendSubmenu(menu, aggression, "Aggression");
    AppendMenuSeparator(menu);
    AppendMenuItem(menu, 1018, "Delete");
    TrackPopupMenu(menu, x, y, mainDialog);
    DestroyMenu(menu);
}

int originX = 0;
int originY = 0;

int MainProc(Window dialog, Message message, const MessageParams& params)
{
    switch (message) {
    case Message::InitDialog:
        mainDialog = dialog;
        SetTimer(dialog, 1, 250);
        return 1;
    case Message::Timer:
        ++ticks;
        DrawBars(dialog);
        RedrawHand();
        RedrawTable();
        SetControlText(dialog, 1012, std::to_string(ticks) + "%");
        return 1;
    case Message::Move:
        originX = params.x;
        originY = params.y;
        return 0;
    case Message::RightUp:
        ShowMenu(originX + params.x, originY + params.y);
        return 1;
    case Message::Command:
        std::printf("command %d\n", params.id);
        if (params.id == OkCommand || params.id == CancelCommand) {
            if (ShowMessageBox(dialog, "Really Quit?", "Quit Program", MessageBoxButtons::YesNo) ==
                MessageBoxResult::Yes)
                PostQuitMessage(2);
        } else if (params.id == NewHandCommand) {
            std::printf("add player: %d\n",
                        RunModalDialog(AddPlayerDialogTemplate, dialog, AddPlayerProc));
        }
        return 1;
    case Message::Paint:
        DrawBars(dialog);
        return 1;
    default:
        return 0;
    }
}

int SelectProc(Window window, Message message, const MessageParams& params)
{
    switch (message) {
    case Message::Create:
        selectDc = GetDeviceContext(window);
        if (SetGlPixelFormat(selectDc, ChooseGlPixelFormat(selectDc)))
            selectRc = CreateGlContextFor(selectDc);
        SetGlRedrawRoutine(selectDc, RedrawSelection);
        return 1;
    case Message::Size:
        if (MakeGlCurrent(selectDc, selectRc)) {
            glViewport(0, 0, params.x, params.y);
            MakeGlCurrent(nullptr, nullptr);
        }
        return 0;
    case Message::Destroy:
        DeleteGlContext(selectRc);
        return 0;
    default:
        return 0;
    }
}

void QuitLater(Window window, int seconds)
{
    SetTimer(window, 99, seconds * 1000);
}

int QuitProc(Window, Message message, const MessageParams&)
{
    if (message == Message::Timer)
        PostQuitMessage(0);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    Window dialog = CreateModelessDialog(MainDialogTemplate, nullptr, MainProc);
    ShowWindow(dialog);
    handDc = GetDeviceContext(ControlWindow(dialog, 1094));
    SetGlPixelFormat(handDc, ChooseGlPixelFormat(handDc));
    handRc = CreateGlContextFor(handDc);
    SetGlRedrawRoutine(handDc, RedrawHand);
    tableDc = GetDeviceContext(ControlWindow(dialog, 1095));
    SetGlPixelFormat(tableDc, ChooseGlPixelFormat(tableDc));
    tableRc = CreateGlContextFor(tableDc);
    SetGlRedrawRoutine(tableDc, RedrawTable);
    RegisterWindowClass("CardSelectWindow", SelectProc);
    Window select =
        CreateTopLevelWindow("CardSelectWindow", "Card Selection Window", 10, 10, 400, 180, dialog);
    ShowWindow(select);
    UpdateWindow(select);
    SetFocus(dialog);
    SetActiveWindow(dialog);
    if (argc > 1) {
        RegisterWindowClass("Quit", QuitProc);
        Window quit = CreateTopLevelWindow("Quit", "", 0, 0, 1, 1, nullptr);
        QuitLater(quit, std::atoi(argv[1]));
    }
    const int code = RunMessageLoop(dialog);
    DestroyWindow(dialog);
    return code;
}
