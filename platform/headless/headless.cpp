// The headless platform over the window model: its backend keeps the focus, puts dialogs at a
// fixed place of a screen that is not there and gives every control a white pixel buffer;
// the rest is what tests drive (keys, clicks, timers, the drivers of modal runs and of the
// message loop, the responders of message boxes and menus).
#include "platform/headless/headless.h"

#include "platform/headless/records.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

WindowRecord::WindowRecord() : native(std::make_unique<NativeWindow>()) {}
WindowRecord::~WindowRecord() = default;

namespace {

// Where the headless screen puts a dialog's client area: its outer rectangle at (100, 100).
constexpr int DialogLeft = 100 + DialogFrameWidth;
constexpr int DialogTop = 100 + DialogCaptionHeight;

struct HeadlessWorld {
    std::vector<RecordedMessageBox> messageBoxes;
    MessageBoxResponder responder;
    std::function<void(Window)> modalDriver;
    std::function<void()> loopDriver;
    std::function<int(const ShownMenu&)> menuResponder;
    std::vector<ShownMenu> menusShown;
    std::function<void(int)> exitHandler;
    Window focus = nullptr;
    std::string clipboard;
};

HeadlessWorld& World()
{
    static HeadlessWorld world;
    return world;
}

void ForEachWindow(WindowRecord* window, const std::function<void(WindowRecord*)>& visit)
{
    visit(window);
    for (WindowRecord* child : window->children)
        ForEachWindow(child, visit);
}

}  // namespace

namespace backend {

void WindowMade(WindowRecord& window)
{
    if (!window.isDialog)
        return;
    window.x = DialogLeft;
    window.y = DialogTop;
    for (WindowRecord* control : window.children)
        control->native->visible = true;
}

void ResetPixels(WindowRecord& window)
{
    window.pixels.assign(static_cast<std::size_t>(window.width) * window.height, 0xFFFFFFu);
}

void WindowDestroyed(WindowRecord& window)
{
    window.native->visible = false;
    if (World().focus && !WindowAlive(World().focus))
        World().focus = nullptr;
}

bool ClientRect(const WindowRecord& window, ScreenRect& rect)
{
    rect = {window.x, window.y, window.x + window.width, window.y + window.height};
    return true;
}

WindowRecord* FocusedRecord()
{
    return World().focus;
}
void Focus(WindowRecord& control)
{
    World().focus = &control;
}

void RunModal(WindowRecord& dialog)
{
    dialog.native->visible = true;
    while (WindowAlive(&dialog) && !dialog.modalEnded) {
        HeadlessDeliverPosted();
        if (!WindowAlive(&dialog) || dialog.modalEnded || !World().modalDriver)
            break;
        World().modalDriver(&dialog);
    }
}

// The headless platform shows nothing and has no toolkit loop: these have nothing to do.
void ControlChanged(WindowRecord& control, Change change)
{
    if (change == Change::Picture)
        ++control.native->pictureChanges;
}
void ReadControl(WindowRecord&) {}
void MessagePosted() {}
void TimerStarted(TimerRecord&) {}
void TimerStopped(TimerRecord&) {}
void Flush() {}
void ModalEnded(WindowRecord&) {}

}  // namespace backend

// --- Test interface ------------------------------------------------------------------------------

Window HeadlessCreateWindow(WindowProc proc, int width, int height)
{
    WindowRecord& window = NewWindowRecord(proc);
    window.width = width;
    window.height = height;
    return &window;
}

Window HeadlessAddControl(Window parent, int id, int x, int y, int width, int height,
                          std::string text)
{
    WindowRecord& control = AddControlRecord(*parent, id, x, y, width, height, std::move(text));
    control.native->visible = true;
    backend::ResetPixels(control);
    return &control;
}

bool HeadlessFireTimer(Window window, int id)
{
    if (!WindowAlive(window) ||
        std::ranges::none_of(window->timers, [&](const auto& timer) { return timer->id == id; }))
        return false;
    MessageParams params;
    params.id = id;
    SendWindowMessage(window, Message::Timer, params);
    return true;
}

bool HeadlessWindowExists(Window window)
{
    return WindowAlive(window);
}

void HeadlessReset()
{
    ResetWindowModel();
    World() = HeadlessWorld{};
}

void HeadlessSetMessageBoxResponder(MessageBoxResponder responder)
{
    World().responder = std::move(responder);
}

const std::vector<RecordedMessageBox>& HeadlessMessageBoxes()
{
    return World().messageBoxes;
}

int HeadlessPaintRequests(Window window)
{
    return window ? window->native->paintRequests : 0;
}

int HeadlessPictureChanges(Window control)
{
    return control ? control->native->pictureChanges : 0;
}

int HeadlessDeliverPaints()
{
    std::vector<WindowRecord*> due;
    for (WindowRecord* window : TopLevelRecords())
        ForEachWindow(window, [&](WindowRecord* w) {
            if (w->paintPending)
                due.push_back(w);
        });
    for (WindowRecord* w : due) {
        w->paintPending = false;
        SendWindowMessage(w, Message::Paint);
    }
    return static_cast<int>(due.size());
}

std::uint32_t HeadlessPixel(Window control, int x, int y)
{
    return PixelOf(control, x, y);
}

bool HeadlessIsEnabled(Window control)
{
    return control && control->enabled;
}

void HeadlessPressKey(Window dialog, HeadlessKey key)
{
    if (dialog)
        PressDialogKey(*dialog, key == HeadlessKey::Escape  ? DialogKey::Escape
                                : key == HeadlessKey::Enter ? DialogKey::Enter
                                                            : DialogKey::Tab);
}

void HeadlessTypeText(Window window, std::string_view text)
{
    for (const char c : text) {
        if (!WindowAlive(window))
            return;
        MessageParams params;
        params.id = static_cast<unsigned char>(c);
        if (OfferKey(*window, Message::Char, params) || c != ' ' || !window->enabled)
            continue;
        WindowRecord* focus = World().focus;
        if (focus && focus->parent == window && WindowAlive(focus) &&
            (focus->kind == ControlKind::PushButton || focus->kind == ControlKind::CheckBox))
            PressControl(*focus, true);
    }
}

void HeadlessTypeKey(Window window, int key, int modifiers)
{
    MessageParams params;
    params.id = key;
    params.modifiers = modifiers;
    if (WindowAlive(window))
        OfferKey(*window, Message::KeyDown, params);
}

const std::string& HeadlessClipboard()
{
    return World().clipboard;
}

void CopyTextToClipboard(std::string_view text)
{
    World().clipboard.assign(text);
}

void HeadlessClickControl(Window dialog, int controlId)
{
    if (Window control = ControlWindow(dialog, controlId); control && WindowAlive(dialog))
        PressControl(*control, true);
}

void HeadlessClickClose(Window window)
{
    if (window)
        PressCloseBox(*window);
}

void HeadlessMoveWindow(Window window, int x, int y)
{
    if (!WindowAlive(window))
        return;
    window->x = x;
    window->y = y;
    SendMove(*window, x, y);
}

void HeadlessResizeWindow(Window window, int width, int height)
{
    if (!WindowAlive(window))
        return;
    window->width = std::max(width, 0);
    window->height = std::max(height, 0);
    backend::ResetPixels(*window);
    SendSize(*window);
}

void HeadlessExposeGl(Window control)
{
    if (WindowAlive(control) && control->dc.redraw)
        control->dc.redraw();
}

int HeadlessDeliverPosted()
{
    return DeliverPostedMessages(false);
}

void HeadlessSetModalDriver(std::function<void(Window dialog)> driver)
{
    World().modalDriver = std::move(driver);
}

void HeadlessSetLoopDriver(std::function<void()> driver)
{
    World().loopDriver = std::move(driver);
}

void HeadlessSetMenuResponder(std::function<int(const ShownMenu&)> responder)
{
    World().menuResponder = std::move(responder);
}

const std::vector<ShownMenu>& HeadlessMenusShown()
{
    return World().menusShown;
}

void HeadlessSetExitHandler(std::function<void(int code)> handler)
{
    World().exitHandler = std::move(handler);
}

std::vector<Window> HeadlessTopLevelWindows()
{
    std::vector<Window> result = TopLevelRecords();
    std::erase_if(result, [](Window w) { return w->destroyed; });
    return result;
}

std::string HeadlessWindowText(Window window)
{
    return window ? window->text : std::string();
}

bool HeadlessIsVisible(Window window)
{
    return WindowAlive(window) && window->native->visible;
}

// --- What the model leaves to the platform -------------------------------------------------------

void ShowWindow(Window window)
{
    if (WindowAlive(window))
        window->native->visible = true;
}

void RequestPaint(Window window, bool now)
{
    if (!window)
        return;
    ++window->native->paintRequests;
    window->paintPending = !now;
    if (now)
        SendWindowMessage(window, Message::Paint);
}

void SetFocus(Window window)
{
    if (WindowAlive(window))
        World().focus = window;
}

void SetActiveWindow(Window) {}  // nothing is on the screen to raise

int RunMessageLoop(Window)
{
    for (;;) {
        HeadlessDeliverPosted();
        HeadlessDeliverPaints();
        if (QuitMessagePosted())
            return TakeQuitMessage();
        if (!World().loopDriver)
            return -1;
        World().loopDriver();
    }
}

void ExitProcess(int code)
{
    if (World().exitHandler)
        World().exitHandler(code);
    std::exit(code);
}

void TrackPopupMenu(Menu menu, int screenX, int screenY, Window owner)
{
    if (!menu)
        return;
    ShownMenu shown{menu->items, screenX, screenY, owner};
    World().menusShown.push_back(shown);
    const int chosen = World().menuResponder ? World().menuResponder(shown) : 0;
    if (chosen != 0) {
        MessageParams params;
        params.id = chosen;
        PostWindowMessage(owner, Message::Command, params);
    }
}

MessageBoxResult ShowMessageBox(Window owner, std::string_view text, std::string_view caption,
                                MessageBoxButtons buttons)
{
    RecordedMessageBox box{owner, std::string(text), std::string(caption), buttons};
    World().messageBoxes.push_back(box);
    if (World().responder)
        return World().responder(box);
    return buttons == MessageBoxButtons::YesNo ? MessageBoxResult::Yes : MessageBoxResult::Ok;
}
