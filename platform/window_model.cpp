// The window model shared by both implementations of the platform layer (window_model.h).
#include "platform/window_model.h"
#include "platform/gl.h"
#include "resources/control_ids.h"

#include <algorithm>
#include <deque>
#include <map>
#include <utility>

namespace {

struct PostedMessage {
    Window window;
    Message message;
    MessageParams params;
};

struct ModelWorld {
    std::vector<std::unique_ptr<WindowRecord>> records;  // every window made, in creation order
    std::deque<PostedMessage> posted;
    std::map<std::string, WindowProc, std::less<>> classes;
    bool quitPosted = false;
    int quitCode = 0;
};

ModelWorld& Model()
{
    static ModelWorld world;
    return world;
}

void SendCommand(WindowRecord& window, int id)
{
    MessageParams params;
    params.id = id;
    SendWindowMessage(&window, Message::Command, params);
}

}  // namespace

// --- World and records ---------------------------------------------------------------------------

WindowRecord& NewWindowRecord(WindowProc proc)
{
    Model().records.push_back(std::make_unique<WindowRecord>());
    WindowRecord& record = *Model().records.back();
    record.proc = proc;
    return record;
}

WindowRecord& AddControlRecord(WindowRecord& parent, int id, int x, int y, int width, int height,
                               std::string text)
{
    WindowRecord& control = NewWindowRecord();
    control.parent = &parent;
    control.id = id;
    control.x = x;
    control.y = y;
    control.width = std::max(width, 0);
    control.height = std::max(height, 0);
    control.text = std::move(text);
    parent.children.push_back(&control);
    return control;
}

bool WindowAlive(const WindowRecord* window)
{
    if (!window)
        return false;
    for (const WindowRecord* w = window; w; w = w->parent)
        if (w->destroyed)
            return false;
    return true;
}

std::vector<WindowRecord*> TopLevelRecords()
{
    std::vector<WindowRecord*> result;
    for (auto& record : Model().records)
        if (!record->parent)
            result.push_back(record.get());
    return result;
}

void ResetWindowModel()
{
    Model() = ModelWorld{};
}

std::uint32_t PixelOf(const WindowRecord* window, int x, int y)
{
    if (!window || x < 0 || y < 0 || x >= window->width || y >= window->height ||
        window->pixels.size() != static_cast<std::size_t>(window->width) * window->height)
        return 0xFF000000u;
    return window->pixels[static_cast<std::size_t>(y) * window->width + x];
}

// --- Messages and quitting -----------------------------------------------------------------------

int SendWindowMessage(Window window, Message message, const MessageParams& params)
{
    if (!WindowAlive(window) || !window->proc)
        return 0;
    return window->proc(window, message, params);
}

void PostWindowMessage(Window window, Message message, const MessageParams& params)
{
    if (!window)
        return;
    Model().posted.push_back({window, message, params});
    backend::MessagePosted();
}

int DeliverPostedMessages(bool onlyThoseQueuedNow)
{
    auto& posted = Model().posted;
    int delivered = 0;
    for (std::size_t n = onlyThoseQueuedNow ? posted.size() : static_cast<std::size_t>(-1);
         n > 0 && !posted.empty(); --n) {
        const PostedMessage m = posted.front();
        posted.pop_front();
        if (m.message == Message::Paint)
            m.window->paintPending = false;
        SendWindowMessage(m.window, m.message, m.params);
        ++delivered;
    }
    if (!posted.empty())
        backend::MessagePosted();  // the rest waits for the next turn
    return delivered;
}

void PostQuitMessage(int code)
{
    Model().quitPosted = true;
    Model().quitCode = code;
}

bool QuitMessagePosted()
{
    return Model().quitPosted;
}

int TakeQuitMessage()
{
    Model().quitPosted = false;
    return Model().quitCode;
}

// --- Dialogs and the dialog manager --------------------------------------------------------------

namespace {

// Builds the dialog's records from its template and has the backend show them (hidden).
Window MakeDialog(int templateId, Window owner, WindowProc proc)
{
    const DialogTemplate* dialogTemplate = FindDialogTemplate(templateId);
    if (!dialogTemplate)
        return nullptr;
    const PixelRect client =
        DialogRectToPixels(0, 0, dialogTemplate->width, dialogTemplate->height);
    WindowRecord& dialog = NewWindowRecord(proc);
    dialog.owner = owner;
    dialog.id = templateId;
    dialog.isDialog = true;
    dialog.text = dialogTemplate->caption;
    dialog.width = client.right;
    dialog.height = client.bottom;
    for (const ControlTemplate& control : dialogTemplate->controls) {
        const PixelRect r = DialogRectToPixels(control.x, control.y, control.width, control.height);
        WindowRecord& c = AddControlRecord(dialog, control.id, r.left, r.top, r.right - r.left,
                                           r.bottom - r.top, control.text);
        c.kind = control.kind;
        c.tabStop = control.tabStop;
        backend::ResetPixels(c);
    }
    backend::WindowMade(dialog);
    return &dialog;
}

// A dialog's enabled tab stops in template order.
std::vector<WindowRecord*> TabStops(const WindowRecord& dialog)
{
    std::vector<WindowRecord*> stops;
    for (WindowRecord* child : dialog.children)
        if (child->tabStop && child->enabled && !child->destroyed)
            stops.push_back(child);
    return stops;
}

// Sends InitDialog; a nonzero answer gives the focus to the first tab stop.
void InitialiseDialog(WindowRecord& dialog)
{
    if (SendWindowMessage(&dialog, Message::InitDialog) == 0 || !WindowAlive(&dialog))
        return;
    const auto stops = TabStops(dialog);
    if (!stops.empty())
        FocusControl(*stops.front());
}

void MoveFocus(WindowRecord& dialog, bool backwards)
{
    const auto stops = TabStops(dialog);
    if (stops.empty())
        return;
    auto at = std::find(stops.begin(), stops.end(), backend::FocusedRecord());
    WindowRecord* next = nullptr;
    if (at == stops.end())
        next = backwards ? stops.back() : stops.front();
    else if (backwards)
        next = at == stops.begin() ? stops.back() : *(at - 1);
    else
        next = at + 1 == stops.end() ? stops.front() : *(at + 1);
    FocusControl(*next);
}

}  // namespace

Window CreateModelessDialog(int templateId, Window owner, WindowProc proc)
{
    Window dialog = MakeDialog(templateId, owner, proc);
    if (dialog)
        InitialiseDialog(*dialog);
    return dialog;
}

int RunModalDialog(int templateId, Window owner, WindowProc proc)
{
    Window dialog = MakeDialog(templateId, owner, proc);
    if (!dialog)
        return -1;
    // The owner takes no input while the dialog runs, as a disabled window.
    const bool ownerWasEnabled = owner && owner->enabled;
    if (owner)
        owner->enabled = false;
    dialog->modalRunning = true;
    InitialiseDialog(*dialog);
    backend::RunModal(*dialog);
    const int result = dialog->modalEnded ? dialog->modalResult : 0;
    dialog->modalRunning = false;
    DestroyWindow(dialog);
    if (WindowAlive(owner)) {
        owner->enabled = ownerWasEnabled;
        backend::ModalEnded(*owner);
    }
    return result;
}

void EndDialog(Window dialog, int result)
{
    if (!WindowAlive(dialog))
        return;
    dialog->modalEnded = true;
    dialog->modalResult = result;
}

void FocusControl(WindowRecord& control)
{
    if (WindowRecord* dialog = control.parent)
        dialog->lastFocus = &control;
    backend::Focus(control);
}

void PressDialogKey(WindowRecord& dialog, DialogKey key, bool backwards)
{
    if (!WindowAlive(&dialog) || !dialog.enabled)
        return;
    switch (key) {
    case DialogKey::Escape:
        SendCommand(dialog, CancelCommand);
        return;
    case DialogKey::Enter: {
        WindowRecord* focus = backend::FocusedRecord();
        if (focus && focus->parent == &dialog && focus->kind == ControlKind::PushButton &&
            focus->enabled)
            PressControl(*focus, false);
        else
            SendCommand(dialog, OkCommand);
        return;
    }
    case DialogKey::Tab:
        MoveFocus(dialog, backwards);
        return;
    }
}

bool OfferKey(WindowRecord& window, Message message, const MessageParams& params)
{
    if (!WindowAlive(&window) || !window.enabled)
        return false;
    const WindowRecord* focus = backend::FocusedRecord();
    if (focus && focus->parent == &window && focus->kind == ControlKind::Edit)
        return false;  // the field types the key itself
    return SendWindowMessage(&window, message, params) != 0;
}

Window FocusedWindow()
{
    WindowRecord* focus = backend::FocusedRecord();
    return WindowAlive(focus) ? focus : nullptr;
}

void PressCloseBox(WindowRecord& window)
{
    if (!WindowAlive(&window) || !window.enabled)
        return;
    if (window.isDialog)
        SendCommand(window, CancelCommand);
    else
        DestroyWindow(&window);
}

void PressControl(WindowRecord& control, bool toggle)
{
    if (!WindowAlive(&control) || !control.enabled || !control.parent || !control.parent->enabled)
        return;
    if (toggle && control.kind == ControlKind::CheckBox) {
        control.checked = !control.checked;
        backend::ControlChanged(control, backend::Change::Check);
    }
    SendCommand(*control.parent, control.id);
}

void SendMove(WindowRecord& window, int x, int y)
{
    MessageParams params;
    params.x = x;
    params.y = y;
    SendWindowMessage(&window, Message::Move, params);
}

void SendSize(WindowRecord& window)
{
    MessageParams params;
    params.x = window.width;
    params.y = window.height;
    SendWindowMessage(&window, Message::Size, params);
}

// --- Destruction ---------------------------------------------------------------------------------

namespace {

// Marks the window and its controls destroyed and stops their timers.
void Forget(WindowRecord& window)
{
    for (WindowRecord* child : window.children)
        Forget(*child);
    for (auto& timer : window.timers)
        backend::TimerStopped(*timer);
    window.timers.clear();
    window.destroyed = true;
}

}  // namespace

void DestroyWindow(Window window)
{
    if (!WindowAlive(window))
        return;
    // Owned windows go first.
    auto& records = Model().records;
    for (std::size_t i = 0; i < records.size(); ++i) {
        WindowRecord* other = records[i].get();
        if (other->owner == window && !other->destroyed)
            DestroyWindow(other);
    }
    SendWindowMessage(window, Message::Destroy);
    if (!WindowAlive(window))
        return;  // the procedure destroyed it itself
    Forget(*window);
    backend::WindowDestroyed(*window);
}

// --- Rectangles, classes and top-level windows ---------------------------------------------------

ScreenRect WindowScreenRect(Window window)
{
    if (!WindowAlive(window))
        return {};
    ScreenRect client;
    if (window->parent) {  // a control: its own rectangle on the screen
        if (!backend::ClientRect(*window->parent, client))
            client = {};
        return {client.left + window->x, client.top + window->y,
                client.left + window->x + window->width, client.top + window->y + window->height};
    }
    if (!backend::ClientRect(*window, client))
        return {};
    if (window->isDialog)
        return {client.left - DialogFrameWidth, client.top - DialogCaptionHeight,
                client.right + DialogFrameWidth, client.bottom + DialogFrameWidth};
    return client;
}

void UpdateWindow(Window window)
{
    if (!WindowAlive(window))
        return;
    backend::Flush();
    window->paintPending = false;
    SendWindowMessage(window, Message::Paint);
}

ClientSize WindowClientSize(Window window)
{
    if (!window)
        return {};
    ScreenRect client;
    if (!window->parent && backend::ClientRect(*window, client))
        return {client.right - client.left, client.bottom - client.top};
    return {window->width, window->height};
}

bool RegisterWindowClass(std::string_view className, WindowProc proc)
{
    return Model().classes.emplace(std::string(className), proc).second;
}

Window CreateTopLevelWindow(std::string_view className, std::string_view caption, int x, int y,
                            int width, int height, Window owner)
{
    const auto found = Model().classes.find(className);
    if (found == Model().classes.end())
        return nullptr;
    WindowRecord& window = NewWindowRecord(found->second);
    window.owner = owner;
    window.isTopLevel = true;
    window.x = x;  // where the client area was asked for
    window.y = y;
    window.text.assign(caption);
    window.width = std::max(width, 1);
    window.height = std::max(height, 1);
    backend::ResetPixels(window);
    backend::WindowMade(window);
    if (SendWindowMessage(&window, Message::Create) == -1) {
        Forget(window);
        backend::WindowDestroyed(window);
        return nullptr;
    }
    SendSize(window);
    return &window;
}

// --- Timers --------------------------------------------------------------------------------------

void SetTimer(Window window, int id, int periodMs)
{
    if (!WindowAlive(window))
        return;
    const int period = std::max(periodMs, 1);
    for (auto& timer : window->timers)
        if (timer->id == id) {
            timer->periodMs = period;
            backend::TimerStarted(*timer);
            return;
        }
    window->timers.push_back(std::make_unique<TimerRecord>(TimerRecord{window, id, period}));
    backend::TimerStarted(*window->timers.back());
}

void KillTimer(Window window, int id)
{
    if (!window)
        return;
    auto& timers = window->timers;
    for (auto it = timers.begin(); it != timers.end(); ++it)
        if ((*it)->id == id) {
            backend::TimerStopped(**it);
            timers.erase(it);
            return;
        }
}

// --- Controls and scroll bars --------------------------------------------------------------------

Window ControlWindow(Window dialog, int controlId)
{
    if (!dialog)
        return nullptr;
    for (WindowRecord* child : dialog->children)
        if (child->id == controlId)
            return child;
    return nullptr;
}

void SetControlText(Window dialog, int controlId, std::string_view text)
{
    Window control = ControlWindow(dialog, controlId);
    if (!WindowAlive(control))
        return;
    control->text.assign(text);
    backend::ControlChanged(*control, backend::Change::Text);
}

std::string ControlText(Window dialog, int controlId)
{
    Window control = ControlWindow(dialog, controlId);
    if (!control)
        return {};
    backend::ReadControl(*control);
    return control->text;
}

namespace {

// The check box of that id, or null for another kind of control or a destroyed one.
WindowRecord* CheckBox(Window dialog, int controlId)
{
    Window control = ControlWindow(dialog, controlId);
    return control && control->kind == ControlKind::CheckBox && !control->destroyed ? control
                                                                                    : nullptr;
}

}  // namespace

bool IsControlChecked(Window dialog, int controlId)
{
    WindowRecord* control = CheckBox(dialog, controlId);
    if (!control)
        return false;
    backend::ReadControl(*control);
    return control->checked;
}

void SetControlChecked(Window dialog, int controlId, bool checked)
{
    if (WindowRecord* control = CheckBox(dialog, controlId)) {
        control->checked = checked;
        backend::ControlChanged(*control, backend::Change::Check);
    }
}

void EnableControl(Window dialog, int controlId, bool enabled)
{
    Window control = ControlWindow(dialog, controlId);
    if (!WindowAlive(control))
        return;
    control->enabled = enabled;
    backend::ControlChanged(*control, backend::Change::Enabled);
    if (!enabled && dialog->lastFocus == control)
        dialog->lastFocus = nullptr;
}

void SetScrollInfo(Window bar, const ScrollInfo& info, bool)
{
    if (!WindowAlive(bar))
        return;
    const int trackPos = bar->scroll.trackPos;
    bar->scroll = info;
    if (bar->tracking)
        bar->scroll.trackPos = trackPos;
    backend::ControlChanged(*bar, backend::Change::Picture);
}

void SetScrollPosition(Window bar, int pos, bool)
{
    if (!WindowAlive(bar))
        return;
    bar->scroll.pos = pos;
    backend::ControlChanged(*bar, backend::Change::Picture);
}

ScrollInfo GetScrollInfo(Window bar)
{
    return bar ? bar->scroll : ScrollInfo{};
}

// --- Menus ---------------------------------------------------------------------------------------

namespace {

MenuItemRecord* FindItem(std::vector<MenuItemRecord>& items, int id)
{
    for (MenuItemRecord& item : items) {
        if (item.isSubmenu) {
            if (MenuItemRecord* found = FindItem(item.submenu, id))
                return found;
        } else if (!item.separator && item.id == id) {
            return &item;
        }
    }
    return nullptr;
}

void Append(Menu menu, MenuItemRecord item)
{
    if (menu)
        menu->items.push_back(std::move(item));
}

}  // namespace

Menu CreatePopupMenu()
{
    return new MenuRecord;
}

void AppendMenuItem(Menu menu, int id, std::string_view text)
{
    Append(menu, {id, std::string(text), false, false, {}, false});
}

void AppendSubmenu(Menu menu, Menu submenu, std::string_view text)
{
    if (!menu || !submenu)
        return;
    Append(menu, {0, std::string(text), false, false, std::move(submenu->items), true});
    delete submenu;
}

void AppendMenuSeparator(Menu menu)
{
    Append(menu, {0, {}, false, true, {}, false});
}

void CheckMenuItem(Menu menu, int id, bool checked)
{
    if (!menu)
        return;
    if (MenuItemRecord* item = FindItem(menu->items, id))
        item->checked = checked;
}

void DestroyMenu(Menu menu)
{
    delete menu;
}

// --- Device contexts -----------------------------------------------------------------------------

void FillGdiRectangle(std::vector<std::uint32_t>& pixels, int width, int height, std::uint32_t pen,
                      std::uint32_t brush, int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return;
    const int x0 = std::max(left, 0);
    const int x1 = std::min(right, width);
    if (x0 >= x1)
        return;
    for (int y = std::max(top, 0); y < std::min(bottom, height); ++y) {
        std::uint32_t* row = pixels.data() + static_cast<std::size_t>(y) * width;
        if (y == top || y == bottom - 1) {
            std::fill(row + x0, row + x1, pen);
            continue;
        }
        std::fill(row + x0, row + x1, brush);
        if (left == x0)
            row[left] = pen;
        if (right - 1 < x1)
            row[right - 1] = pen;
    }
}

DeviceContext GetDeviceContext(Window window)
{
    if (!window)
        return nullptr;
    window->dc.window = window;
    window->dc.pen = StockBlackPen();
    window->dc.brush = StockWhiteBrush();
    return &window->dc;
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
    if (!dc || !WindowAlive(dc->window))
        return;
    WindowRecord& c = *dc->window;
    FillGdiRectangle(c.pixels, c.width, c.height, dc->pen.color, dc->brush.color, left, top, right,
                     bottom);
    backend::ControlChanged(c, backend::Change::Picture);  // shown soon
}

void SetGlRedrawRoutine(DeviceContext dc, void (*redraw)())
{
    if (dc)
        dc->redraw = redraw;
}
