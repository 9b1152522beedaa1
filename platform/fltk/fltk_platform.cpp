// The desktop platform on FLTK 1.3: windows, dialogs from templates, the dialog manager, timers,
// posted messages, the message loop, controls, scroll bars, painting and device contexts.
// Menus and message boxes are in fltk_menus.cpp, OpenGL in fltk_gl.cpp, the widgets in
// fltk_widgets.cpp.
//
// Index: world and records - messages - dialogs - destruction - showing, focus, rectangles -
// classes and top-level windows - loop and timers - controls - scroll bars - painting and
// device contexts - events from the widgets - test helpers.
#include "platform/fltk/fltk_platform.h"
#include "platform/fltk/fltk_records.h"
#include "platform/fltk/fltk_widgets.h"
#include "platform/pixel_buffer.h"

#include "platform/fltk/fltk_draw.h"

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Gl_Window.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Window.H>
#include <FL/fl_ask.H>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <deque>
#include <map>
#include <unordered_map>

// Moves a shown window's client area to the screen point (fltk_display.cpp, which may include
// X11's headers).
void PlaceShownWindow(Fl_Window* window, int x, int y);

struct TimerRecord {
    WindowRecord* window = nullptr;
    int id = 0;
    double period = 0.001;  // seconds
};

namespace {

// Fl::wait() without a time returns at once while no window is shown, so every loop waits
// with this long time instead: until the next event or timeout.
constexpr double Forever = 1e20;

// The colour of the dialogs' background, also the inside of a fresh frame.
constexpr std::uint32_t DialogBackground = Rgb(240, 240, 240);

struct PostedMessage {
    Window window;
    Message message;
    MessageParams params;
};

struct FltkWorld {
    std::vector<std::unique_ptr<WindowRecord>> records;  // every window ever made; a record
                                                         // outlives its widgets, so handles of
                                                         // destroyed windows stay safe to test
    std::unordered_map<const Fl_Widget*, WindowRecord*> byWidget;
    std::deque<PostedMessage> posted;
    bool drainScheduled = false;
    std::map<std::string, WindowProc, std::less<>> classes;
    bool quitPosted = false;
    int quitCode = 0;
    bool initialised = false;
};

FltkWorld& World()
{
    static FltkWorld world;
    return world;
}

WindowRecord* NewRecord()
{
    World().records.push_back(std::make_unique<WindowRecord>());
    return World().records.back().get();
}

void Bind(WindowRecord& window, Fl_Widget* widget)
{
    window.widget = widget;
    if (widget)
        World().byWidget[widget] = &window;
}

Fl_Window* HostOf(const WindowRecord& window)
{
    return (window.isDialog || window.isTopLevel) && window.widget
               ? static_cast<Fl_Window*>(window.widget)
               : nullptr;
}

// The dialog or top-level window a window belongs to.
WindowRecord* TopOf(WindowRecord* window)
{
    while (window && window->parent)
        window = window->parent;
    return window;
}

// Fills a control's buffer as the control looks before anything draws on it: frames show
// their one-pixel outline around the dialog's background.
void ResetPixels(WindowRecord& window)
{
    const int w = std::max(window.width, 0);
    const int h = std::max(window.height, 0);
    window.pixels.assign(static_cast<std::size_t>(w) * h, DialogBackground);
    const bool black = window.kind == ControlKind::BlackFrame;
    const bool white = window.kind == ControlKind::WhiteFrame;
    if (window.parent == nullptr || (!black && !white) || w == 0 || h == 0)
        return;
    const std::uint32_t outline = black ? Rgb(0, 0, 0) : Rgb(255, 255, 255);
    for (int x = 0; x < w; ++x) {
        window.pixels[static_cast<std::size_t>(x)] = outline;
        window.pixels[static_cast<std::size_t>(h - 1) * w + x] = outline;
    }
    for (int y = 0; y < h; ++y) {
        window.pixels[static_cast<std::size_t>(y) * w] = outline;
        window.pixels[static_cast<std::size_t>(y) * w + w - 1] = outline;
    }
}

bool IsInteractive(ControlKind kind)
{
    return kind == ControlKind::PushButton || kind == ControlKind::CheckBox ||
           kind == ControlKind::Edit || kind == ControlKind::HScrollBar;
}

std::vector<WindowRecord*> TabStops(const WindowRecord& dialog)
{
    std::vector<WindowRecord*> stops;
    for (WindowRecord* child : dialog.children)
        if (child->tabStop && child->enabled && child->widget)
            stops.push_back(child);
    return stops;
}

// Fl::focus() makes the X window of a window that is not shown yet (FLTK 1.3.8 sets up the
// input method there), which shows it too early: a hidden window only remembers the control,
// and ShowWindow gives it the focus.
void FocusWidget(Fl_Widget* widget)
{
    Fl_Window* top = widget ? widget->top_window() : nullptr;
    if (top && top->shown())
        Fl::focus(widget);
}

void FocusControl(WindowRecord& control)
{
    if (WindowRecord* dialog = control.parent)
        dialog->lastFocus = &control;
    FocusWidget(control.widget);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// World and records
// ---------------------------------------------------------------------------------------------

void EnsureFltk()
{
    FltkWorld& world = World();
    if (world.initialised)
        return;
    world.initialised = true;
    Fl::visual(FL_DOUBLE | FL_RGB);
    Fl::scheme("gtk+");
    Fl::background(240, 240, 240);
    // Helvetica by Arial's metrics (Liberation Sans where fontconfig has it) is closest to the
    // 8-point dialog font the templates are laid out for; FLTK's default "sans" is wider.
    Fl::set_font(FL_HELVETICA, " Arial");
    Fl::set_font(FL_HELVETICA_BOLD, "BArial");
    Fl::visible_focus(1);
    fl_message_font(FL_HELVETICA, 12);
    fl_message_hotspot(0);
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

WindowRecord* RecordOfWidget(const Fl_Widget* widget)
{
    const auto found = World().byWidget.find(widget);
    return found == World().byWidget.end() ? nullptr : found->second;
}

// ---------------------------------------------------------------------------------------------
// Messages
// ---------------------------------------------------------------------------------------------

int SendWindowMessage(Window window, Message message, const MessageParams& params)
{
    if (!WindowAlive(window) || !window->proc)
        return 0;
    return window->proc(window, message, params);
}

namespace {

// Delivers the messages that were queued when the drain began; later ones wait for the next
// turn, so a window that posts to itself cannot starve the loop.
void DrainPosted(void*)
{
    FltkWorld& world = World();
    world.drainScheduled = false;
    for (std::size_t n = world.posted.size(); n > 0 && !world.posted.empty(); --n) {
        const PostedMessage m = world.posted.front();
        world.posted.pop_front();
        if (m.message == Message::Paint && m.window)
            m.window->paintQueued = false;
        SendWindowMessage(m.window, m.message, m.params);
    }
    if (!world.posted.empty() && !world.drainScheduled) {
        world.drainScheduled = true;
        Fl::add_timeout(0.0, DrainPosted);
    }
}

}  // namespace

void PostWindowMessage(Window window, Message message, const MessageParams& params)
{
    if (!window)
        return;
    FltkWorld& world = World();
    world.posted.push_back({window, message, params});
    if (!world.drainScheduled) {
        world.drainScheduled = true;
        Fl::add_timeout(0.0, DrainPosted);
    }
}

// ---------------------------------------------------------------------------------------------
// Dialogs
// ---------------------------------------------------------------------------------------------

namespace {

// Builds the dialog's window and controls from the template, centred on the screen, hidden.
Window MakeDialog(int templateId, Window owner, WindowProc proc)
{
    const DialogTemplate* dialogTemplate = FindDialogTemplate(templateId);
    if (!dialogTemplate)
        return nullptr;
    EnsureFltk();
    const PixelRect client =
        DialogRectToPixels(0, 0, dialogTemplate->width, dialogTemplate->height);
    WindowRecord* dialog = NewRecord();
    dialog->proc = proc;
    dialog->owner = owner;
    dialog->id = templateId;
    dialog->isDialog = true;
    dialog->text = dialogTemplate->caption;
    dialog->width = client.right;
    dialog->height = client.bottom;
    int sx = 0, sy = 0, sw = 0, sh = 0;
    Fl::screen_xywh(sx, sy, sw, sh, 0);
    Fl_Window* host = MakeHostWindow(*dialog, sx + (sw - dialog->width) / 2,
                                     sy + (sh - dialog->height) / 2, dialog->width, dialog->height);
    Bind(*dialog, host);
    if (owner)
        host->set_non_modal();  // stays in front of the program's other windows
    for (const ControlTemplate& control : dialogTemplate->controls) {
        const PixelRect r = DialogRectToPixels(control.x, control.y, control.width, control.height);
        WindowRecord* c = NewRecord();
        c->parent = dialog;
        c->id = control.id;
        c->kind = control.kind;
        c->tabStop = control.tabStop;
        c->x = r.left;
        c->y = r.top;
        c->width = r.right - r.left;
        c->height = r.bottom - r.top;
        c->text = control.text;
        ResetPixels(*c);
        Bind(*c, MakeControlWidget(*c, *host));
        dialog->children.push_back(c);
    }
    return dialog;
}

// Sends InitDialog; a nonzero answer gives the focus to the first tab stop.
void InitialiseDialog(Window dialog)
{
    if (SendWindowMessage(dialog, Message::InitDialog) == 0 || !WindowAlive(dialog))
        return;
    const auto stops = TabStops(*dialog);
    if (!stops.empty())
        FocusControl(*stops.front());
}

}  // namespace

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
    // The owner takes no input while the dialog runs, as a disabled window.
    const bool ownerWasEnabled = owner && owner->enabled;
    if (owner)
        owner->enabled = false;
    dialog->modalRunning = true;
    InitialiseDialog(dialog);
    if (WindowAlive(dialog) && !dialog->modalEnded) {
        ShowWindow(dialog);
        SetFocus(dialog);
    }
    FltkWorld& world = World();
    while (WindowAlive(dialog) && !dialog->modalEnded && !world.quitPosted)
        Fl::wait(Forever);
    const int result = dialog->modalEnded ? dialog->modalResult : 0;
    dialog->modalRunning = false;
    DestroyWindow(dialog);
    if (owner && WindowAlive(owner)) {
        owner->enabled = ownerWasEnabled;
        SetActiveWindow(owner);
        SetFocus(owner);
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

// ---------------------------------------------------------------------------------------------
// Destruction
// ---------------------------------------------------------------------------------------------

namespace {

void TimerTick(void* data);

void KillAllTimers(WindowRecord& window)
{
    for (TimerRecord* timer : window.timers) {
        Fl::remove_timeout(TimerTick, timer);
        delete timer;
    }
    window.timers.clear();
}

// Marks the window and its controls destroyed and forgets their widgets.
void Forget(WindowRecord& window)
{
    for (WindowRecord* child : window.children)
        Forget(*child);
    KillAllTimers(window);
    ReleaseGlOf(window);
    if (window.glContext)
        window.glContext->window = nullptr;
    window.glContext = nullptr;
    window.glWindow = nullptr;
    World().byWidget.erase(window.widget);
    window.widget = nullptr;
    window.destroyed = true;
    // The record stays (old handles must keep testing as destroyed), but not its pixels: a
    // dialog opened and closed again and again would otherwise keep every control's buffer.
    std::vector<std::uint32_t>().swap(window.pixels);
}

}  // namespace

void DestroyWindow(Window window)
{
    if (!WindowAlive(window))
        return;
    // Owned windows go first.
    for (std::size_t i = 0; i < World().records.size(); ++i) {
        WindowRecord* other = World().records[i].get();
        if (other->owner == window && !other->destroyed)
            DestroyWindow(other);
    }
    SendWindowMessage(window, Message::Destroy);
    if (!WindowAlive(window))
        return;  // the procedure destroyed it itself
    Fl_Widget* widget = window->widget;
    Forget(*window);
    if (!widget)
        return;
    widget->hide();
    if (Fl_Group* parent = widget->parent())
        parent->remove(widget);
    Fl::delete_widget(widget);  // later: it may be inside one of its own callbacks now
}

// ---------------------------------------------------------------------------------------------
// Showing, focus and rectangles
// ---------------------------------------------------------------------------------------------

namespace {

void ShowGlSurfaces(WindowRecord& window)
{
    if (window.glWindow && !window.glWindow->shown())
        window.glWindow->show();
    for (WindowRecord* child : window.children)
        if (child->glWindow && !child->glWindow->shown())
            child->glWindow->show();
}

}  // namespace

void ShowWindow(Window window)
{
    if (!WindowAlive(window) || !window->widget)
        return;
    Fl_Window* host = HostOf(*window);
    if (!host) {
        window->widget->show();
        return;
    }
    const bool first = !host->shown();
    host->show();
    if (first && window->isTopLevel)
        PlaceShownWindow(host, window->x, window->y);
    ShowGlSurfaces(*window);
    if (first && WindowAlive(window->lastFocus))
        FocusWidget(window->lastFocus->widget);
    if (first) {
        MessageParams params;
        params.x = host->x();
        params.y = host->y();
        SendWindowMessage(window, Message::Move, params);
        RequestPaint(window, false);
    }
}

void UpdateWindow(Window window)
{
    if (!WindowAlive(window))
        return;
    Fl::flush();
    window->paintQueued = false;
    SendWindowMessage(window, Message::Paint);
}

void SetFocus(Window window)
{
    if (!WindowAlive(window) || !window->widget)
        return;
    if (window->parent) {
        FocusControl(*window);
        return;
    }
    if (window->isDialog && WindowAlive(window->lastFocus) && window->lastFocus->enabled) {
        FocusControl(*window->lastFocus);
        return;
    }
    FocusWidget(window->widget);
}

void SetActiveWindow(Window window)
{
    WindowRecord* top = TopOf(window);
    if (!WindowAlive(top))
        return;
    if (Fl_Window* host = HostOf(*top); host && host->shown())
        host->show();  // raises it; the window manager gives it the input focus
}

Window FocusedWindow()
{
    for (Fl_Widget* w = Fl::focus(); w; w = w->parent())
        if (WindowRecord* record = RecordOfWidget(w); WindowAlive(record))
            return record;
    return nullptr;
}

ScreenRect WindowScreenRect(Window window)
{
    if (!WindowAlive(window))
        return {};
    if (window->parent) {  // a control: its own rectangle on the screen
        const ScreenRect dialog = [&] {
            const Fl_Window* host = HostOf(*window->parent);
            return host ? ScreenRect{host->x(), host->y(), 0, 0} : ScreenRect{};
        }();
        return {dialog.left + window->x, dialog.top + window->y,
                dialog.left + window->x + window->width, dialog.top + window->y + window->height};
    }
    Fl_Window* host = HostOf(*window);
    if (!host)
        return {};
    // A dialog's outer rectangle is its client area with a 3-pixel frame and a 29-pixel caption,
    // whatever frame the window manager really draws (under Xvfb there is none): the main
    // dialog's start-up takes the client origin as that corner plus (3, 29), and the areas it
    // measures from it must land exactly where the mouse messages put them.
    if (window->isDialog)
        return {host->x() - 3, host->y() - 29, host->x() + host->w() + 3,
                host->y() + host->h() + 3};
    return {host->x(), host->y(), host->x() + host->w(), host->y() + host->h()};
}

// ---------------------------------------------------------------------------------------------
// Classes and top-level windows
// ---------------------------------------------------------------------------------------------

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
    EnsureFltk();
    WindowRecord* window = NewRecord();
    window->proc = found->second;
    window->owner = owner;
    window->isTopLevel = true;
    window->x = x;  // where the client area was asked for
    window->y = y;
    window->text.assign(caption);
    window->width = std::max(width, 1);
    window->height = std::max(height, 1);
    ResetPixels(*window);
    Fl_Window* host = MakeHostWindow(*window, x, y, window->width, window->height);
    host->resizable(host);
    host->size_range(1, 1);
    if (owner)
        host->set_non_modal();
    Bind(*window, host);
    if (SendWindowMessage(window, Message::Create) == -1) {
        Fl_Widget* widget = window->widget;
        Forget(*window);
        delete widget;
        return nullptr;
    }
    MessageParams params;
    params.x = window->width;
    params.y = window->height;
    SendWindowMessage(window, Message::Size, params);
    return window;
}

// ---------------------------------------------------------------------------------------------
// Message loop, quitting and timers
// ---------------------------------------------------------------------------------------------

void PostQuitMessage(int code)
{
    World().quitPosted = true;
    World().quitCode = code;
}

int RunMessageLoop(Window)
{
    // Keys reach every dialog's own dialog manager (HandleHostEvent), whichever has the focus.
    FltkWorld& world = World();
    EnsureFltk();
    while (!world.quitPosted)
        Fl::wait(Forever);
    world.quitPosted = false;
    return world.quitCode;
}

void ExitProcess(int code)
{
    std::exit(code);
}

namespace {

// One tick: re-arm first, then deliver, because the procedure may kill or restart the timer
// (which frees or re-arms this record) and must find it armed as usual.
void TimerTick(void* data)
{
    auto* timer = static_cast<TimerRecord*>(data);
    Fl::repeat_timeout(timer->period, TimerTick, data);
    WindowRecord* window = timer->window;
    MessageParams params;
    params.id = timer->id;
    SendWindowMessage(window, Message::Timer, params);
}

}  // namespace

void SetTimer(Window window, int id, int periodMs)
{
    if (!WindowAlive(window))
        return;
    const double period = std::max(periodMs, 1) / 1000.0;
    for (TimerRecord* timer : window->timers)
        if (timer->id == id) {
            Fl::remove_timeout(TimerTick, timer);
            timer->period = period;
            Fl::add_timeout(period, TimerTick, timer);
            return;
        }
    auto* timer = new TimerRecord{window, id, period};
    window->timers.push_back(timer);
    Fl::add_timeout(period, TimerTick, timer);
}

void KillTimer(Window window, int id)
{
    if (!window)
        return;
    auto& timers = window->timers;
    for (auto it = timers.begin(); it != timers.end(); ++it)
        if ((*it)->id == id) {
            Fl::remove_timeout(TimerTick, *it);
            delete *it;
            timers.erase(it);
            return;
        }
}

// ---------------------------------------------------------------------------------------------
// Controls
// ---------------------------------------------------------------------------------------------

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
    if (!control->widget)
        return;
    if (control->kind == ControlKind::Edit) {
        static_cast<Fl_Input*>(control->widget)->value(control->text.c_str());
    } else if (control->kind != ControlKind::HScrollBar) {
        control->widget->copy_label(control->text.c_str());
    }
    control->widget->redraw();
}

std::string ControlText(Window dialog, int controlId)
{
    Window control = ControlWindow(dialog, controlId);
    if (!control)
        return {};
    if (control->kind == ControlKind::Edit && control->widget)
        return static_cast<Fl_Input*>(control->widget)->value();
    return control->text;
}

bool IsControlChecked(Window dialog, int controlId)
{
    Window control = ControlWindow(dialog, controlId);
    if (!control || control->kind != ControlKind::CheckBox || !control->widget)
        return false;
    return static_cast<Fl_Button*>(control->widget)->value() != 0;
}

void SetControlChecked(Window dialog, int controlId, bool checked)
{
    Window control = ControlWindow(dialog, controlId);
    if (control && control->kind == ControlKind::CheckBox && control->widget)
        static_cast<Fl_Button*>(control->widget)->value(checked ? 1 : 0);
}

void EnableControl(Window dialog, int controlId, bool enabled)
{
    Window control = ControlWindow(dialog, controlId);
    if (!WindowAlive(control))
        return;
    control->enabled = enabled;
    if (!control->widget)
        return;
    if (enabled) {
        control->widget->activate();
    } else {
        control->widget->deactivate();  // FLTK moves the focus away from it
        if (dialog->lastFocus == control)
            dialog->lastFocus = nullptr;
    }
}

ClientSize WindowClientSize(Window window)
{
    if (!window)
        return {};
    if (const Fl_Window* host = HostOf(*window))
        return {host->w(), host->h()};
    return {window->width, window->height};
}

// ---------------------------------------------------------------------------------------------
// Scroll bars
// ---------------------------------------------------------------------------------------------

void SetScrollInfo(Window bar, const ScrollInfo& info, bool)
{
    if (!WindowAlive(bar))
        return;
    const int trackPos = bar->scroll.trackPos;
    bar->scroll = info;
    if (bar->tracking)
        bar->scroll.trackPos = trackPos;
    RedrawControl(*bar);
}

void SetScrollPosition(Window bar, int pos, bool)
{
    if (!WindowAlive(bar))
        return;
    bar->scroll.pos = pos;
    RedrawControl(*bar);
}

ScrollInfo GetScrollInfo(Window bar)
{
    return bar ? bar->scroll : ScrollInfo{};
}

ScrollGeometry ComputeScrollGeometry(int width, int height, const ScrollInfo& info, int pos)
{
    ScrollGeometry g;
    g.arrow = std::min(height, width / 3);
    g.troughLeft = g.arrow;
    g.troughRight = width - g.arrow;
    const int trough = g.troughRight - g.troughLeft;
    const int span = info.max - info.min + 1;  // positions the range covers
    if (trough <= 0 || span <= 0)
        return g;
    const int minimum = std::min(8, trough);
    g.thumbWidth = info.page > 0 ? std::max(trough * std::min(info.page, span) / span, minimum)
                                 : std::min(height, trough);
    const int last = info.max - std::max(info.page - 1, 0);  // the highest position
    const int range = last - info.min;
    const int clamped = std::clamp(pos, info.min, std::max(last, info.min));
    const int room = trough - g.thumbWidth;
    g.thumbLeft =
        g.troughLeft + (range > 0 ? ((clamped - info.min) * room + range / 2) / range : 0);
    return g;
}

int ScrollPositionForThumb(const ScrollGeometry& g, const ScrollInfo& info, int thumbLeft)
{
    const int last = std::max(info.max - std::max(info.page - 1, 0), info.min);
    const int range = last - info.min;
    const int room = g.troughRight - g.troughLeft - g.thumbWidth;
    if (range <= 0 || room <= 0)
        return info.min;
    const int offset = std::clamp(thumbLeft - g.troughLeft, 0, room);
    return info.min + (offset * range + room / 2) / room;
}

int ScrollCodeAt(const ScrollGeometry& g, int width, int x)
{
    if (x < g.arrow)
        return ScrollLineLeft;
    if (x >= width - g.arrow)
        return ScrollLineRight;
    if (x < g.thumbLeft)
        return ScrollPageLeft;
    if (x >= g.thumbLeft + g.thumbWidth)
        return ScrollPageRight;
    return ScrollThumbTrack;
}

void SendScroll(WindowRecord& bar, int code, int position)
{
    if (!WindowAlive(&bar) || !bar.parent || !bar.enabled || !bar.parent->enabled)
        return;
    MessageParams params;
    params.id = code;
    params.position = position;
    params.control = &bar;
    SendWindowMessage(bar.parent, Message::HScroll, params);
}

// ---------------------------------------------------------------------------------------------
// Painting and device contexts
// ---------------------------------------------------------------------------------------------

void RequestPaint(Window window, bool now)
{
    if (!WindowAlive(window))
        return;
    if (now) {
        SendWindowMessage(window, Message::Paint);
        return;
    }
    if (!window->paintQueued) {
        window->paintQueued = true;
        PostWindowMessage(window, Message::Paint);
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
    RedrawControl(c);  // FLTK draws the buffer at the next turn of the loop
}

// ---------------------------------------------------------------------------------------------
// Events from the widgets
// ---------------------------------------------------------------------------------------------

void PressControl(WindowRecord& control)
{
    if (!WindowAlive(&control) || !control.enabled || !control.parent || !control.parent->enabled)
        return;
    // A check box has toggled itself already (FLTK's click or space bar).
    MessageParams params;
    params.id = control.id;
    SendWindowMessage(control.parent, Message::Command, params);
}

void NoteFocus(WindowRecord& window)
{
    if (!WindowAlive(&window) || !window.isDialog)
        return;
    WindowRecord* focus = RecordOfWidget(Fl::focus());
    if (focus && focus->parent == &window)
        window.lastFocus = focus;
}

namespace {

void SendCommand(WindowRecord& dialog, int id)
{
    MessageParams params;
    params.id = id;
    SendWindowMessage(&dialog, Message::Command, params);
}

// Tab moves the focus to the next (Shift+Tab: the previous) enabled tab stop, in template order.
void MoveFocus(WindowRecord& dialog, bool backwards)
{
    const auto stops = TabStops(dialog);
    if (stops.empty())
        return;
    WindowRecord* focus = RecordOfWidget(Fl::focus());
    auto at = std::find(stops.begin(), stops.end(), focus);
    WindowRecord* next = nullptr;
    if (at == stops.end())
        next = backwards ? stops.back() : stops.front();
    else if (backwards)
        next = at == stops.begin() ? stops.back() : *(at - 1);
    else
        next = at + 1 == stops.end() ? stops.front() : *(at + 1);
    FocusControl(*next);
    dialog.widget->redraw();
}

// The dialog manager's keys: Escape sends 2, Enter presses the focused push button or sends 1,
// Tab walks the tab stops. A top-level window only swallows Escape (FLTK would hide it).
int HandleKey(WindowRecord& window, int key, int state)
{
    const bool enter = key == FL_Enter || key == FL_KP_Enter;
    if (!window.isDialog)
        return key == FL_Escape ? 1 : -1;
    if (key != FL_Escape && !enter && key != FL_Tab)
        return -1;
    if (!window.enabled)
        return 1;  // another dialog runs modally over this one
    if (key == FL_Escape) {
        SendCommand(window, 2);
    } else if (enter) {
        WindowRecord* focus = RecordOfWidget(Fl::focus());
        if (focus && focus->parent == &window && focus->kind == ControlKind::PushButton &&
            focus->enabled)
            PressControl(*focus);
        else
            SendCommand(window, 1);
    } else {
        MoveFocus(window, (state & FL_SHIFT) != 0);
    }
    return 1;
}

// The enabled push button, check box, edit field or scroll bar under a point, if any; these
// take the mouse themselves, every other point belongs to the window.
WindowRecord* InteractiveControlAt(const WindowRecord& window, int x, int y)
{
    for (auto it = window.children.rbegin(); it != window.children.rend(); ++it) {
        const WindowRecord& c = **it;
        if (IsInteractive(c.kind) && c.enabled && c.widget && c.widget->visible() && x >= c.x &&
            x < c.x + c.width && y >= c.y && y < c.y + c.height)
            return *it;
    }
    return nullptr;
}

int HandleMouse(WindowRecord& window, int event)
{
    if (!window.enabled)
        return 1;
    MessageParams params;
    params.x = Fl::event_x();
    params.y = Fl::event_y();
    switch (event) {
    case FL_MOVE:
        if (!InteractiveControlAt(window, params.x, params.y))
            SendWindowMessage(&window, Message::MouseMove, params);
        return -1;  // FLTK still tracks which widget is under the mouse
    case FL_DRAG:
        SendWindowMessage(&window, Message::MouseMove, params);
        return 1;
    case FL_PUSH:
        if (InteractiveControlAt(window, params.x, params.y))
            return -1;
        if (Fl::event_button() == FL_LEFT_MOUSE)
            SendWindowMessage(&window, Message::LeftDown, params);
        return 1;  // the window receives the drag and the release
    case FL_RELEASE:
        if (Fl::event_button() == FL_LEFT_MOUSE)
            SendWindowMessage(&window, Message::LeftUp, params);
        else if (Fl::event_button() == FL_RIGHT_MOUSE)
            SendWindowMessage(&window, Message::RightUp, params);
        return 1;
    default:
        return -1;
    }
}

}  // namespace

int HandleHostEvent(WindowRecord& window, int event)
{
    if (!WindowAlive(&window))
        return 0;
    switch (event) {
    case FL_KEYBOARD:
    case FL_SHORTCUT:
        return HandleKey(window, Fl::event_key(), Fl::event_state());
    case FL_FOCUS:
        // A dialog gives the focus back to the control that had it, or keeps it itself when
        // none had (FLTK would pick the first control that takes focus).
        if (!window.isDialog)
            return -1;
        if (WindowAlive(window.lastFocus) && window.lastFocus->enabled && window.lastFocus->widget)
            Fl::focus(window.lastFocus->widget);
        return 1;
    case FL_PUSH:
    case FL_RELEASE:
    case FL_MOVE:
    case FL_DRAG:
        return HandleMouse(window, event);
    default:
        return -1;
    }
}

void HostWindowMoved(WindowRecord& window, bool moved, bool resized)
{
    if (!WindowAlive(&window) || !window.widget)
        return;
    Fl_Window* host = HostOf(window);
    if (!host || !host->shown())
        return;
    MessageParams params;
    if (moved) {
        params.x = host->x();
        params.y = host->y();
        SendWindowMessage(&window, Message::Move, params);
    }
    if (resized && WindowAlive(&window)) {
        window.width = host->w();
        window.height = host->h();
        ResetPixels(window);
        params.x = host->w();
        params.y = host->h();
        SendWindowMessage(&window, Message::Size, params);
    }
}

void HostWindowClosed(WindowRecord& window)
{
    if (!WindowAlive(&window) || !window.enabled)
        return;
    if (window.isDialog)
        SendCommand(window, 2);  // the close box, and Escape when no widget had the focus
    else
        DestroyWindow(&window);
}

void DrawGlFrames(const WindowRecord& window)
{
    fl_color(FL_BLACK);
    for (const WindowRecord* child : window.children)
        if (child->glWindow)
            fl_rect(child->x - 1, child->y - 1, child->width + 2, child->height + 2);
}

// ---------------------------------------------------------------------------------------------
// Test helpers
// ---------------------------------------------------------------------------------------------

std::uint32_t FltkPixel(Window window, int x, int y)
{
    if (!window || x < 0 || y < 0 || x >= window->width || y >= window->height ||
        window->pixels.size() != static_cast<std::size_t>(window->width) * window->height)
        return 0xFF000000u;
    return window->pixels[static_cast<std::size_t>(y) * window->width + x];
}

Fl_Widget* FltkWidget(Window window)
{
    return WindowAlive(window) ? window->widget : nullptr;
}

Fl_Widget* FltkGlSurface(Window window)
{
    return WindowAlive(window) ? window->glWindow : nullptr;
}

bool FltkRunUntil(const std::function<bool()>& done, double seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end)
            return done();
        Fl::wait(0.01);
    }
    return true;
}
