#include "platform/headless/headless.h"

#include "platform/headless/records.h"
#include "resources/dialog_templates.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace {

struct HeadlessWorld {
    std::vector<std::unique_ptr<WindowRecord>> windows;  // top-level windows, destroyed included
    std::vector<RecordedMessageBox> messageBoxes;
    MessageBoxResponder responder;
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

// ---------------------------------------------------------------------------------------------
// Platform interface
// ---------------------------------------------------------------------------------------------

Window CreateModelessDialog(int templateId, Window, WindowProc proc)
{
    const DialogTemplate* dialogTemplate = FindDialogTemplate(templateId);
    if (!dialogTemplate)
        return nullptr;
    const PixelRect client =
        DialogRectToPixels(0, 0, dialogTemplate->width, dialogTemplate->height);
    Window dialog = HeadlessCreateWindow(proc, client.right, client.bottom);
    dialog->id = templateId;
    dialog->text = dialogTemplate->caption;
    for (const ControlTemplate& control : dialogTemplate->controls) {
        const PixelRect r = DialogRectToPixels(control.x, control.y, control.width, control.height);
        HeadlessAddControl(dialog, control.id, r.left, r.top, r.right - r.left, r.bottom - r.top,
                           control.text);
    }
    SendWindowMessage(dialog, Message::InitDialog);
    return dialog;
}

void DestroyWindow(Window window)
{
    if (!HeadlessWindowExists(window))
        return;
    SendWindowMessage(window, Message::Destroy);
    window->timers.clear();
    window->destroyed = true;
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

int SendWindowMessage(Window window, Message message, const MessageParams& params)
{
    if (!HeadlessWindowExists(window) || !window->proc)
        return 0;
    return window->proc(window, message, params);
}

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

Pen CreateSolidPen(std::uint32_t color)
{
    return Pen{color};
}

Brush CreateSolidBrush(std::uint32_t color)
{
    return Brush{color};
}

Pen StockBlackPen()
{
    return Pen{Rgb(0, 0, 0)};
}

Pen StockWhitePen()
{
    return Pen{Rgb(255, 255, 255)};
}

Brush StockBlackBrush()
{
    return Brush{Rgb(0, 0, 0)};
}

Brush StockWhiteBrush()
{
    return Brush{Rgb(255, 255, 255)};
}

DeviceContext GetDeviceContext(Window control)
{
    if (!control)
        return nullptr;
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
    if (!dc || !dc->control || right <= left || bottom <= top)
        return;
    WindowRecord& c = *dc->control;
    const int x0 = std::max(left, 0);
    const int x1 = std::min(right, c.width);
    if (x0 >= x1)
        return;
    const std::uint32_t pen = dc->pen.color;
    const std::uint32_t brush = dc->brush.color;
    for (int y = std::max(top, 0); y < std::min(bottom, c.height); ++y) {
        std::uint32_t* row = c.pixels.data() + static_cast<std::size_t>(y) * c.width;
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
