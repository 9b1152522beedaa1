#include "platform/headless/headless.h"

#include "platform/headless/records.h"
#include "platform/pixel_buffer.h"
#include "resources/dialog_templates.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <utility>

namespace {

// Where the headless screen puts a dialog's client area relative to its outer rectangle: a
// 3-pixel frame and a 29-pixel caption, as on the desktop the program was first made for.
constexpr int FrameLeft = 3;
constexpr int FrameTop = 29;

struct PostedMessage {
    Window window;
    Message message;
    MessageParams params;
};

struct HeadlessWorld {
    std::vector<std::unique_ptr<WindowRecord>> windows;  // top-level windows, destroyed included
    std::vector<RecordedMessageBox> messageBoxes;
    MessageBoxResponder responder;
    std::deque<PostedMessage> posted;
    std::map<std::string, WindowProc, std::less<>> classes;
    std::function<void(Window)> modalDriver;
    std::function<void()> loopDriver;
    std::function<int(const ShownMenu&)> menuResponder;
    std::vector<ShownMenu> menusShown;
    std::function<void(int)> exitHandler;
    Window focus = nullptr;
    Window active = nullptr;
    bool quitPosted = false;
    int quitCode = 0;
};

HeadlessWorld& World()
{
    static HeadlessWorld world;
    return world;
}

void ForEachWindow(WindowRecord* window, const std::function<void(WindowRecord*)>& visit)
{
    visit(window);
    for (auto& child : window->children)
        ForEachWindow(child.get(), visit);
}

bool IsPushButton(const WindowRecord& w)
{
    return w.kind == ControlKind::PushButton;
}

std::vector<WindowRecord*> TabStops(Window dialog)
{
    std::vector<WindowRecord*> stops;
    for (auto& child : dialog->children)
        if (child->tabStop && child->enabled)
            stops.push_back(child.get());
    return stops;
}

// Sends a control's command to its dialog; a check box toggles first.
void PressControl(WindowRecord& control)
{
    if (!control.enabled || !control.parent)
        return;
    if (control.kind == ControlKind::CheckBox)
        control.checked = !control.checked;
    MessageParams params;
    params.id = control.id;
    SendWindowMessage(control.parent, Message::Command, params);
}

Window MakeDialog(int templateId, Window owner, WindowProc proc)
{
    const DialogTemplate* dialogTemplate = FindDialogTemplate(templateId);
    if (!dialogTemplate)
        return nullptr;
    const PixelRect client =
        DialogRectToPixels(0, 0, dialogTemplate->width, dialogTemplate->height);
    Window dialog = HeadlessCreateWindow(proc, client.right, client.bottom);
    dialog->id = templateId;
    dialog->isDialog = true;
    dialog->owner = owner;
    dialog->x = 100 + FrameLeft;
    dialog->y = 100 + FrameTop;
    dialog->text = dialogTemplate->caption;
    for (const ControlTemplate& control : dialogTemplate->controls) {
        const PixelRect r = DialogRectToPixels(control.x, control.y, control.width, control.height);
        Window c = HeadlessAddControl(dialog, control.id, r.left, r.top, r.right - r.left,
                                      r.bottom - r.top, control.text);
        c->kind = control.kind;
        c->tabStop = control.tabStop;
    }
    return dialog;
}

// Sends InitDialog; a true answer gives the focus to the first tab stop.
void InitialiseDialog(Window dialog)
{
    if (SendWindowMessage(dialog, Message::InitDialog) != 0) {
        const auto stops = TabStops(dialog);
        if (!stops.empty())
            World().focus = stops.front();
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Test interface
// ---------------------------------------------------------------------------------------------

Window HeadlessCreateWindow(WindowProc proc, int width, int height)
{
    auto record = std::make_unique<WindowRecord>();
    record->proc = proc;
    record->width = width;
    record->height = height;
    World().windows.push_back(std::move(record));
    return World().windows.back().get();
}

Window HeadlessAddControl(Window parent, int id, int x, int y, int width, int height,
                          std::string text)
{
    auto record = std::make_unique<WindowRecord>();
    record->parent = parent;
    record->id = id;
    record->x = x;
    record->y = y;
    record->width = std::max(width, 0);
    record->height = std::max(height, 0);
    record->text = std::move(text);
    record->visible = true;
    record->pixels.assign(static_cast<std::size_t>(record->width) * record->height, 0xFFFFFFu);
    parent->children.push_back(std::move(record));
    return parent->children.back().get();
}

bool HeadlessFireTimer(Window window, int id)
{
    if (!HeadlessWindowExists(window))
        return false;
    const auto& timers = window->timers;
    if (std::find(timers.begin(), timers.end(), id) == timers.end())
        return false;
    MessageParams params;
    params.id = id;
    SendWindowMessage(window, Message::Timer, params);
    return true;
}

bool HeadlessWindowExists(Window window)
{
    if (!window)
        return false;
    for (WindowRecord* w = window; w; w = w->parent)
        if (w->destroyed)
            return false;
    return true;
}

void HeadlessReset()
{
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
    return window ? window->paintRequests : 0;
}

int HeadlessDeviceContextRequests(Window control)
{
    return control ? control->deviceContexts : 0;
}

int HeadlessDeliverPaints()
{
    std::vector<WindowRecord*> due;
    for (auto& window : World().windows)
        ForEachWindow(window.get(), [&](WindowRecord* w) {
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
    if (!control || x < 0 || y < 0 || x >= control->width || y >= control->height)
        return 0xFF000000u;
    return control->pixels[static_cast<std::size_t>(y) * control->width + x];
}

bool HeadlessIsEnabled(Window control)
{
    return control && control->enabled;
}

void HeadlessPressKey(Window dialog, HeadlessKey key)
{
    if (!HeadlessWindowExists(dialog))
        return;
    MessageParams params;
    switch (key) {
    case HeadlessKey::Escape:
        params.id = 2;
        SendWindowMessage(dialog, Message::Command, params);
        return;
    case HeadlessKey::Enter: {
        Window focus = World().focus;
        if (focus && focus->parent == dialog && IsPushButton(*focus)) {
            PressControl(*focus);
            return;
        }
        params.id = 1;
        SendWindowMessage(dialog, Message::Command, params);
        return;
    }
    case HeadlessKey::Tab: {
        const auto stops = TabStops(dialog);
        if (stops.empty())
            return;
        auto at = std::find(stops.begin(), stops.end(), World().focus);
        World().focus = (at == stops.end() || at + 1 == stops.end()) ? stops.front() : *(at + 1);
        return;
    }
    }
}

void HeadlessClickControl(Window dialog, int controlId)
{
    if (Window control = ControlWindow(dialog, controlId); control && HeadlessWindowExists(dialog))
        PressControl(*control);
}

void HeadlessClickClose(Window window)
{
    if (!HeadlessWindowExists(window))
        return;
    if (window->isDialog) {
        MessageParams params;
        params.id = 2;
        SendWindowMessage(window, Message::Command, params);
    } else {
        DestroyWindow(window);
    }
}

void HeadlessMoveWindow(Window window, int x, int y)
{
    if (!HeadlessWindowExists(window))
        return;
    window->x = x;
    window->y = y;
    MessageParams params;
    params.x = x;
    params.y = y;
    SendWindowMessage(window, Message::Move, params);
}

void HeadlessResizeWindow(Window window, int width, int height)
{
    if (!HeadlessWindowExists(window))
        return;
    window->width = std::max(width, 0);
    window->height = std::max(height, 0);
    window->pixels.assign(static_cast<std::size_t>(window->width) * window->height, 0xFFFFFFu);
    MessageParams params;
    params.x = window->width;
    params.y = window->height;
    SendWindowMessage(window, Message::Size, params);
}

void HeadlessExposeGl(Window control)
{
    if (HeadlessWindowExists(control) && control->dc.redraw)
        control->dc.redraw();
}

int HeadlessDeliverPosted()
{
    int delivered = 0;
    while (!World().posted.empty()) {
        const PostedMessage m = World().posted.front();
        World().posted.pop_front();
        SendWindowMessage(m.window, m.message, m.params);
        ++delivered;
    }
    return delivered;
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
    std::vector<Window> result;
    for (auto& w : World().windows)
        if (!w->destroyed)
            result.push_back(w.get());
    return result;
}

std::string HeadlessWindowText(Window window)
{
    return window ? window->text : std::string();
}

bool HeadlessIsVisible(Window window)
{
    return HeadlessWindowExists(window) && window->visible;
}

// ---------------------------------------------------------------------------------------------
// Messages, dialogs, windows and timers
// ---------------------------------------------------------------------------------------------

int SendWindowMessage(Window window, Message message, const MessageParams& params)
{
    if (!HeadlessWindowExists(window) || !window->proc)
        return 0;
    return window->proc(window, message, params);
}

void PostWindowMessage(Window window, Message message, const MessageParams& params)
{
    if (window)
        World().posted.push_back({window, message, params});
}

Window CreateModelessDialog(int templateId, Window owner, WindowProc proc)
{
    Window dialog = MakeDialog(templateId, owner, proc);
    if (dialog)
        InitialiseDialog(dialog);
    return dialog;
}

int RunModalDialog(int templateId, Window owner, WindowProc proc)
{
    Window dialog = MakeDialog(templateId, owner, proc);
    if (!dialog)
        return -1;
    dialog->visible = true;
    dialog->modalRunning = true;
    InitialiseDialog(dialog);
    while (HeadlessWindowExists(dialog) && !dialog->modalEnded) {
        HeadlessDeliverPosted();
        if (!HeadlessWindowExists(dialog) || dialog->modalEnded || !World().modalDriver)
            break;
        World().modalDriver(dialog);
    }
    const int result = dialog->modalEnded ? dialog->modalResult : 0;
    dialog->modalRunning = false;
    DestroyWindow(dialog);
    return result;
}

void EndDialog(Window dialog, int result)
{
    if (!HeadlessWindowExists(dialog))
        return;
    dialog->modalEnded = true;
    dialog->modalResult = result;
}

void DestroyWindow(Window window)
{
    if (!HeadlessWindowExists(window))
        return;
    // Owned windows go first, as the desktop does it.
    for (auto& other : World().windows)
        if (other->owner == window && !other->destroyed)
            DestroyWindow(other.get());
    SendWindowMessage(window, Message::Destroy);
    window->timers.clear();
    window->destroyed = true;
    window->visible = false;
    if (World().focus && !HeadlessWindowExists(World().focus))
        World().focus = nullptr;
    if (World().active == window)
        World().active = nullptr;
}

void ShowWindow(Window window)
{
    if (HeadlessWindowExists(window))
        window->visible = true;
}

void UpdateWindow(Window window)
{
    if (HeadlessWindowExists(window)) {
        window->paintPending = false;
        SendWindowMessage(window, Message::Paint);
    }
}

void SetFocus(Window window)
{
    if (HeadlessWindowExists(window))
        World().focus = window;
}

void SetActiveWindow(Window window)
{
    if (HeadlessWindowExists(window))
        World().active = window;
}

Window FocusedWindow()
{
    return HeadlessWindowExists(World().focus) ? World().focus : nullptr;
}

ScreenRect WindowScreenRect(Window window)
{
    if (!window)
        return {};
    if (window->parent) {  // a control: its rectangle on the screen
        const Window dialog = window->parent;
        return {dialog->x + window->x, dialog->y + window->y, dialog->x + window->x + window->width,
                dialog->y + window->y + window->height};
    }
    if (window->isDialog)  // the frame and caption around the client area
        return {window->x - FrameLeft, window->y - FrameTop, window->x + window->width + FrameLeft,
                window->y + window->height + FrameLeft};
    return {window->x, window->y, window->x + window->width, window->y + window->height};
}

bool RegisterWindowClass(std::string_view className, WindowProc proc)
{
    return World().classes.emplace(std::string(className), proc).second;
}

Window CreateTopLevelWindow(std::string_view className, std::string_view caption, int x, int y,
                            int width, int height, Window owner)
{
    const auto found = World().classes.find(className);
    if (found == World().classes.end())
        return nullptr;
    Window window = HeadlessCreateWindow(found->second, std::max(width, 0), std::max(height, 0));
    window->owner = owner;
    window->x = x;
    window->y = y;
    window->text.assign(caption);
    window->pixels.assign(static_cast<std::size_t>(window->width) * window->height, 0xFFFFFFu);
    if (SendWindowMessage(window, Message::Create) == -1) {
        window->destroyed = true;
        return nullptr;
    }
    MessageParams params;
    params.x = window->width;
    params.y = window->height;
    SendWindowMessage(window, Message::Size, params);
    return window;
}

void PostQuitMessage(int code)
{
    World().quitPosted = true;
    World().quitCode = code;
}

int RunMessageLoop(Window)
{
    for (;;) {
        HeadlessDeliverPosted();
        HeadlessDeliverPaints();
        if (World().quitPosted) {
            World().quitPosted = false;
            return World().quitCode;
        }
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

void SetTimer(Window window, int id, int)
{
    if (!window)
        return;
    if (std::find(window->timers.begin(), window->timers.end(), id) == window->timers.end())
        window->timers.push_back(id);
}

void KillTimer(Window window, int id)
{
    if (window)
        std::erase(window->timers, id);
}

// ---------------------------------------------------------------------------------------------
// Controls
// ---------------------------------------------------------------------------------------------

Window ControlWindow(Window dialog, int controlId)
{
    if (!dialog)
        return nullptr;
    for (auto& child : dialog->children)
        if (child->id == controlId)
            return child.get();
    return nullptr;
}

void SetControlText(Window dialog, int controlId, std::string_view text)
{
    if (Window control = ControlWindow(dialog, controlId))
        control->text.assign(text);
}

std::string ControlText(Window dialog, int controlId)
{
    Window control = ControlWindow(dialog, controlId);
    return control ? control->text : std::string();
}

bool IsControlChecked(Window dialog, int controlId)
{
    Window control = ControlWindow(dialog, controlId);
    return control && control->checked;
}

void SetControlChecked(Window dialog, int controlId, bool checked)
{
    if (Window control = ControlWindow(dialog, controlId))
        control->checked = checked;
}

void EnableControl(Window dialog, int controlId, bool enabled)
{
    if (Window control = ControlWindow(dialog, controlId))
        control->enabled = enabled;
}

ClientSize WindowClientSize(Window window)
{
    if (!window)
        return {};
    return {window->width, window->height};
}

// ---------------------------------------------------------------------------------------------
// Scroll bars and menus
// ---------------------------------------------------------------------------------------------

void SetScrollInfo(Window bar, const ScrollInfo& info, bool)
{
    if (bar)
        bar->scroll = info;
}

void SetScrollPosition(Window bar, int pos, bool)
{
    if (bar)
        bar->scroll.pos = pos;
}

ScrollInfo GetScrollInfo(Window bar)
{
    return bar ? bar->scroll : ScrollInfo{};
}

Menu CreatePopupMenu()
{
    return new MenuRecord;
}

void AppendMenuItem(Menu menu, int id, std::string_view text)
{
    if (menu)
        menu->items.push_back({id, std::string(text), false, false, {}});
}

void AppendSubmenu(Menu menu, Menu submenu, std::string_view text)
{
    if (!menu || !submenu)
        return;
    menu->items.push_back({0, std::string(text), false, false, std::move(submenu->items)});
    delete submenu;
}

void AppendMenuSeparator(Menu menu)
{
    if (menu)
        menu->items.push_back({0, {}, false, true, {}});
}

namespace {

bool CheckItem(std::vector<HeadlessMenuItem>& items, int id, bool checked)
{
    for (HeadlessMenuItem& item : items) {
        if (item.id == id && !item.separator && item.submenu.empty()) {
            item.checked = checked;
            return true;
        }
        if (CheckItem(item.submenu, id, checked))
            return true;
    }
    return false;
}

}  // namespace

void CheckMenuItem(Menu menu, int id, bool checked)
{
    if (menu)
        CheckItem(menu->items, id, checked);
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

void DestroyMenu(Menu menu)
{
    delete menu;
}

// ---------------------------------------------------------------------------------------------
// Message boxes and painting
// ---------------------------------------------------------------------------------------------

MessageBoxResult ShowMessageBox(Window owner, std::string_view text, std::string_view caption,
                                MessageBoxButtons buttons)
{
    RecordedMessageBox box{owner, std::string(text), std::string(caption), buttons};
    World().messageBoxes.push_back(box);
    if (World().responder)
        return World().responder(box);
    return buttons == MessageBoxButtons::YesNo ? MessageBoxResult::Yes : MessageBoxResult::Ok;
}

void RequestPaint(Window window, bool now)
{
    if (!window)
        return;
    ++window->paintRequests;
    if (now) {
        window->paintPending = false;
        SendWindowMessage(window, Message::Paint);
    } else {
        window->paintPending = true;
    }
}

// ---------------------------------------------------------------------------------------------
// Device contexts
// ---------------------------------------------------------------------------------------------

DeviceContext GetDeviceContext(Window control)
{
    if (!control)
        return nullptr;
    ++control->deviceContexts;
    control->dc.control = control;
    control->dc.pen = StockBlackPen();
    control->dc.brush = StockWhiteBrush();
    return &control->dc;
}

void ReleaseDeviceContext(Window, DeviceContext) {}

void SelectPen(DeviceContext dc, Pen pen)
{
    if (dc)
        dc->pen = pen;
}

void SelectBrush(DeviceContext dc, Brush brush)
{
    if (dc)
        dc->brush = brush;
}

void Rectangle(DeviceContext dc, int left, int top, int right, int bottom)
{
    if (!dc || !dc->control)
        return;
    WindowRecord& c = *dc->control;
    FillGdiRectangle(c.pixels, c.width, c.height, dc->pen.color, dc->brush.color, left, top, right,
                     bottom);
}
