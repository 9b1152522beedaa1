// The desktop platform on FLTK 1.3 over the window model: the backend that shows the model's
// records as FLTK windows and widgets, the focus, timers as FLTK timeouts, the drain of posted
// messages, the message loop, painting, scroll bars and the events of the widgets. Menus and
// message boxes are in fltk_menus.cpp, OpenGL in fltk_gl.cpp, the widgets in fltk_widgets.cpp.
//
// Index: world and records - the backend - showing, focus and painting - loop and timers -
// scroll bars - events from the widgets - test helpers.
#include "platform/fltk/fltk_platform.h"
#include "platform/fltk/fltk_records.h"
#include "platform/fltk/fltk_widgets.h"

#include "platform/fltk/fltk_draw.h"

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Gl_Window.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Window.H>
#include <FL/fl_utf8.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <unordered_map>

// Moves a shown window's client area to the screen point (fltk_display.cpp, which may include
// X11's headers).
void PlaceShownWindow(Fl_Window* window, int x, int y);
// Gives a shown window the keyboard focus, with or without a window manager.
void ActivateShownWindow(Fl_Window* window);
// Offers a fixed-size window no resizing and no maximise button.
void MarkShownWindowFixedSize(Fl_Window* window);

// Sees every event before FLTK routes it: typed keys go to the window's procedure first.
int DispatchEvent(int event, Fl_Window* window);

WindowRecord::WindowRecord() : native(std::make_unique<NativeWindow>()) {}
WindowRecord::~WindowRecord() = default;

namespace {

// Fl::wait() without a time returns at once while no window is shown, so every loop waits
// with this long time instead: until the next event or timeout.
constexpr double Forever = 1e20;

// The colour of the dialogs' background, also the inside of a fresh frame.
constexpr std::uint32_t DialogBackground = Rgb(240, 240, 240);

struct FltkWorld {
    std::unordered_map<const Fl_Widget*, WindowRecord*> byWidget;
    bool drainScheduled = false;
    bool initialised = false;
};

FltkWorld& World()
{
    static FltkWorld world;
    return world;
}

void Bind(WindowRecord& window, Fl_Widget* widget)
{
    window.native->widget = widget;
    if (widget)
        World().byWidget[widget] = &window;
}

Fl_Window* HostOf(const WindowRecord& window)
{
    return (window.isDialog || window.isTopLevel) && window.native->widget
               ? static_cast<Fl_Window*>(window.native->widget)
               : nullptr;
}

bool IsInteractive(ControlKind kind)
{
    return kind == ControlKind::PushButton || kind == ControlKind::CheckBox ||
           kind == ControlKind::Edit || kind == ControlKind::HScrollBar;
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

// Delivers the messages that were queued when the drain began; later ones wait for the next
// turn, so a window that posts to itself cannot starve the loop.
void DrainPosted(void*)
{
    World().drainScheduled = false;
    DeliverPostedMessages(true);
}

// One tick: re-arm first, then deliver, because the procedure may kill or restart the timer
// (which frees or re-arms this record) and must find it armed as usual.
void TimerTick(void* data)
{
    auto* timer = static_cast<TimerRecord*>(data);
    Fl::repeat_timeout(timer->periodMs / 1000.0, TimerTick, data);
    MessageParams params;
    params.id = timer->id;
    SendWindowMessage(timer->window, Message::Timer, params);
}

// Lets go of the widgets and OpenGL surfaces of a destroyed window and its controls.
void ForgetWidgets(WindowRecord& window)
{
    for (WindowRecord* child : window.children)
        ForgetWidgets(*child);
    ReleaseGlOf(window);
    NativeWindow& native = *window.native;
    if (native.glContext)
        native.glContext->window = nullptr;
    native.glContext = nullptr;
    native.glWindow = nullptr;
    World().byWidget.erase(native.widget);
    native.widget = nullptr;
    // The record stays (old handles must keep testing as destroyed), but not its pixels: a
    // dialog opened and closed again and again would otherwise keep every control's buffer.
    std::vector<std::uint32_t>().swap(window.pixels);
}

}  // namespace

namespace backend {

// A dialog is centred on the screen, a top-level window's client area goes where it was
// asked for; both stay hidden until shown.
void WindowMade(WindowRecord& window)
{
    EnsureFltk();
    int x = window.x;
    int y = window.y;
    if (window.isDialog) {
        int sw = 0, sh = 0;
        Fl::screen_xywh(x, y, sw, sh, 0);
        x += (sw - window.width) / 2;
        y += (sh - window.height) / 2;
    }
    Fl_Window* host = MakeHostWindow(window, x, y, window.width, window.height);
    if (window.isDialog)  // no maximise
        host->size_range(window.width, window.height, window.width, window.height);
    Bind(window, host);
    if (window.owner)
        host->set_non_modal();  // stays in front of the program's other windows
    if (!window.isDialog) {
        host->resizable(host);
        host->size_range(1, 1);
    }
    for (WindowRecord* control : window.children)
        Bind(*control, MakeControlWidget(*control, *host));
}

// Frames show their one-pixel outline around the dialog's background.
void ResetPixels(WindowRecord& window)
{
    const int w = std::max(window.width, 0);
    const int h = std::max(window.height, 0);
    window.pixels.assign(static_cast<std::size_t>(w) * h, DialogBackground);
    const bool black = window.kind == ControlKind::BlackFrame;
    if (window.parent && (black || window.kind == ControlKind::WhiteFrame))
        FillGdiRectangle(window.pixels, w, h, black ? Rgb(0, 0, 0) : Rgb(255, 255, 255),
                         DialogBackground, 0, 0, w, h);
}

void WindowDestroyed(WindowRecord& window)
{
    Fl_Widget* widget = window.native->widget;
    ForgetWidgets(window);
    if (!widget)
        return;
    widget->hide();
    if (Fl_Group* parent = widget->parent())
        parent->remove(widget);
    Fl::delete_widget(widget);  // later: it may be inside one of its own callbacks now
}

bool ClientRect(const WindowRecord& window, ScreenRect& rect)
{
    const Fl_Window* host = HostOf(window);
    if (!host)
        return false;
    rect = {host->x(), host->y(), host->x() + host->w(), host->y() + host->h()};
    return true;
}

// The record of the focused widget or of the nearest widget around it that has one.
WindowRecord* FocusedRecord()
{
    for (Fl_Widget* w = Fl::focus(); w; w = w->parent())
        if (WindowRecord* record = RecordOfWidget(w); WindowAlive(record))
            return record;
    return nullptr;
}
void Focus(WindowRecord& control)
{
    FocusWidget(control.native->widget);
}

void ControlChanged(WindowRecord& control, Change change)
{
    Fl_Widget* widget = control.native->widget;
    if (!widget)
        return;
    switch (change) {
    case Change::Text:
        if (control.kind == ControlKind::Edit)
            static_cast<Fl_Input*>(widget)->value(control.text.c_str());
        else if (control.kind != ControlKind::HScrollBar)
            widget->copy_label(control.text.c_str());
        widget->redraw();
        return;
    case Change::Check:
        static_cast<Fl_Button*>(widget)->value(control.checked ? 1 : 0);
        return;
    case Change::Enabled:
        if (control.enabled)
            widget->activate();
        else
            widget->deactivate();  // FLTK moves the focus away from it
        return;
    case Change::Picture:
        widget->redraw();  // FLTK draws the new state at the next turn of the loop
        return;
    }
}

// What the user typed or toggled lives in the widgets.
void ReadControl(WindowRecord& control)
{
    Fl_Widget* widget = control.native->widget;
    if (widget && control.kind == ControlKind::Edit)
        control.text = static_cast<Fl_Input*>(widget)->value();
    if (widget && control.kind == ControlKind::CheckBox)
        control.checked = static_cast<Fl_Button*>(widget)->value() != 0;
}

void MessagePosted()
{
    if (!World().drainScheduled) {
        World().drainScheduled = true;
        Fl::add_timeout(0.0, DrainPosted);
    }
}

void TimerStarted(TimerRecord& timer)
{
    Fl::remove_timeout(TimerTick, &timer);
    Fl::add_timeout(timer.periodMs / 1000.0, TimerTick, &timer);
}

void TimerStopped(TimerRecord& timer)
{
    Fl::remove_timeout(TimerTick, &timer);
}
void Flush()
{
    Fl::flush();
}

void RunModal(WindowRecord& dialog)
{
    if (WindowAlive(&dialog) && !dialog.modalEnded) {
        ShowWindow(&dialog);
        SetFocus(&dialog);
    }
    while (WindowAlive(&dialog) && !dialog.modalEnded && !QuitMessagePosted())
        Fl::wait(Forever);
}

void ModalEnded(WindowRecord& owner)
{
    SetActiveWindow(&owner);
    SetFocus(&owner);
}

}  // namespace backend

// --- World and records ---------------------------------------------------------------------------

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
    // Task bars and window switchers group the program's windows by class and show its icon.
    Fl_Window::default_xclass("tablewise");
    SetProgramIcons();
    Fl::event_dispatch(DispatchEvent);
}

WindowRecord* RecordOfWidget(const Fl_Widget* widget)
{
    const auto found = World().byWidget.find(widget);
    return found == World().byWidget.end() ? nullptr : found->second;
}

// --- Showing, focus and painting -----------------------------------------------------------------

namespace {

void ShowGlSurfaces(WindowRecord& window)
{
    if (Fl_Gl_Window* surface = window.native->glWindow; surface && !surface->shown())
        surface->show();
    for (WindowRecord* child : window.children)
        if (Fl_Gl_Window* surface = child->native->glWindow; surface && !surface->shown())
            surface->show();
}

}  // namespace

void ShowWindow(Window window)
{
    if (!WindowAlive(window) || !window->native->widget)
        return;
    Fl_Window* host = HostOf(*window);
    if (!host) {
        window->native->widget->show();
        return;
    }
    const bool first = !host->shown();
    host->show();
    if (first && window->isTopLevel)
        PlaceShownWindow(host, window->x, window->y);  // the frame's corner
    if (first && window->isDialog) {
        MarkShownWindowFixedSize(host);
        ActivateShownWindow(host);  // Enter and Escape work before any click
    }
    ShowGlSurfaces(*window);
    if (first && WindowAlive(window->lastFocus))
        FocusWidget(window->lastFocus->native->widget);
    if (first) {
        SendMove(*window, host->x(), host->y());
        RequestPaint(window, false);
    }
}

void RequestPaint(Window window, bool now)
{
    if (!WindowAlive(window))
        return;
    if (now) {
        SendWindowMessage(window, Message::Paint);
    } else if (!window->paintPending) {
        window->paintPending = true;  // until the queued Paint arrives
        PostWindowMessage(window, Message::Paint);
    }
}

void SetFocus(Window window)
{
    if (!WindowAlive(window) || !window->native->widget)
        return;
    if (window->parent) {
        FocusControl(*window);
        return;
    }
    if (window->isDialog && WindowAlive(window->lastFocus) && window->lastFocus->enabled) {
        FocusControl(*window->lastFocus);
        return;
    }
    FocusWidget(window->native->widget);
}

void SetActiveWindow(Window window)
{
    WindowRecord* top = window && window->parent ? window->parent : window;
    if (!WindowAlive(top))
        return;
    if (Fl_Window* host = HostOf(*top); host && host->shown()) {
        host->show();  // raises it
        ActivateShownWindow(host);
    }
}

// --- Message loop and quitting -------------------------------------------------------------------

int RunMessageLoop(Window)
{
    // Keys reach every dialog's own dialog manager (HandleHostEvent), whichever has the focus.
    EnsureFltk();
    while (!QuitMessagePosted())
        Fl::wait(Forever);
    return TakeQuitMessage();
}

void ExitProcess(int code)
{
    std::exit(code);
}

// --- Scroll bars ---------------------------------------------------------------------------------

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

// --- Events from the widgets ---------------------------------------------------------------------

void NoteFocus(WindowRecord& window)
{
    if (!WindowAlive(&window) || !window.isDialog)
        return;
    WindowRecord* focus = RecordOfWidget(Fl::focus());
    if (focus && focus->parent == &window)
        window.lastFocus = focus;
}

namespace {

// A dialog's keys go to the model's dialog manager; a top-level window only swallows Escape
// (FLTK would hide it).
int HandleKey(WindowRecord& window, int key, int state)
{
    const bool enter = key == FL_Enter || key == FL_KP_Enter;
    if (!window.isDialog)
        return key == FL_Escape ? 1 : -1;
    if (key != FL_Escape && !enter && key != FL_Tab)
        return -1;
    if (key == FL_Tab) {
        PressDialogKey(window, DialogKey::Tab, (state & FL_SHIFT) != 0);
        if (WindowAlive(&window) && window.enabled)
            window.native->widget->redraw();
    } else {
        PressDialogKey(window, enter ? DialogKey::Enter : DialogKey::Escape);
    }
    return 1;
}

// The enabled push button, check box, edit field or scroll bar under a point, if any; these
// take the mouse themselves, every other point belongs to the window.
WindowRecord* InteractiveControlAt(const WindowRecord& window, int x, int y)
{
    for (auto it = window.children.rbegin(); it != window.children.rend(); ++it) {
        const WindowRecord& c = **it;
        const Fl_Widget* widget = c.native->widget;
        if (IsInteractive(c.kind) && c.enabled && widget && widget->visible() && x >= c.x &&
            x < c.x + c.width && y >= c.y && y < c.y + c.height)
            return *it;
    }
    return nullptr;
}

// Where the window's procedure last saw the mouse move to.
struct LastMove {
    const WindowRecord* window = nullptr;
    int x = 0;
    int y = 0;
};

LastMove& LastMouseMove()
{
    static LastMove last;
    return last;
}

void SendMouseMove(WindowRecord& window, const MessageParams& params)
{
    LastMouseMove() = {&window, params.x, params.y};
    SendWindowMessage(&window, Message::MouseMove, params);
}

// FLTK holds a motion back until the events that came with it are handled, so a button can
// arrive before the move to where it was pressed. The procedure sees the move first, as the
// views pick what lies under the pointer on moves and act on it at the button.
void CatchUpMouseMove(WindowRecord& window, const MessageParams& params)
{
    const LastMove& last = LastMouseMove();
    if (last.window != &window || last.x != params.x || last.y != params.y)
        SendMouseMove(window, params);
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
            SendMouseMove(window, params);
        return -1;  // FLTK still tracks which widget is under the mouse
    case FL_DRAG:
        SendMouseMove(window, params);
        return 1;
    case FL_PUSH:
        if (InteractiveControlAt(window, params.x, params.y))
            return -1;
        if (Fl::event_button() == FL_LEFT_MOUSE) {
            CatchUpMouseMove(window, params);
            if (WindowAlive(&window))
                SendWindowMessage(&window, Message::LeftDown, params);
        }
        return 1;  // the window receives the drag and the release
    case FL_RELEASE:
        if (Fl::event_button() != FL_MIDDLE_MOUSE)
            CatchUpMouseMove(window, params);
        if (!WindowAlive(&window))
            return 1;
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
        if (WindowAlive(window.lastFocus) && window.lastFocus->enabled &&
            window.lastFocus->native->widget)
            Fl::focus(window.lastFocus->native->widget);
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

namespace {

// Shift, Control, Alt, Meta, Super, the lock keys and the dead and level keys of X: pressing
// one of them alone types nothing and is not a key of its own for the program.
bool ModifierKey(int key)
{
    return (key >= FL_Shift_L && key <= 0xffee) || (key >= 0xfe00 && key <= 0xfeff) ||
           key == FL_Num_Lock || key == FL_Scroll_Lock;
}

// The program's code of an FLTK key: letters as capitals, digits, Backspace, Delete, space.
int KeyCodeOf(int key)
{
    if (key >= 'a' && key <= 'z')
        return key - 'a' + 'A';
    if (key >= '0' && key <= '9')
        return key;
    switch (key) {
    case FL_BackSpace:
        return KeyBackspace;
    case FL_Delete:
    case FL_KP + '.':  // the keypad's Delete, as FLTK reports it without Num Lock
        return KeyDelete;
    case ' ':
        return KeySpace;
    default:
        return KeyOther;
    }
}

// A key press for a dialog or top-level window of the program: as Char when it types a
// printable character without Control or Alt, else as KeyDown. Returns whether the window's
// procedure took it. Tab, Enter and Escape stay with the dialog manager (HandleKey), modal
// windows of the toolkit (menus, message boxes) keep their keys.
bool OfferKeyEvent(Fl_Window* window)
{
    const int key = Fl::event_key();
    if (!window || Fl::grab() || (Fl::modal() && Fl::modal() != window) || ModifierKey(key) ||
        key == FL_Tab || key == FL_Enter || key == FL_KP_Enter || key == FL_Escape)
        return false;
    WindowRecord* record = RecordOfWidget(window->top_window());
    if (!WindowAlive(record) || (!record->isDialog && !record->isTopLevel))
        return false;
    const int state = Fl::event_state();
    const char* text = Fl::event_text();
    const int length = Fl::event_length();
    MessageParams params;
    Message message = Message::KeyDown;
    if (length > 0 && static_cast<unsigned char>(text[0]) >= 32 && text[0] != 127 &&
        (state & (FL_CTRL | FL_ALT | FL_META)) == 0) {
        int used = 0;
        params.id = static_cast<int>(fl_utf8decode(text, text + length, &used));
        message = Message::Char;
    } else {
        params.id = KeyCodeOf(key);
        params.modifiers = ((state & FL_SHIFT) ? ModifierShift : 0) |
                           ((state & FL_CTRL) ? ModifierControl : 0) |
                           ((state & FL_ALT) ? ModifierAlt : 0);
    }
    return OfferKey(*record, message, params);
}

}  // namespace

int DispatchEvent(int event, Fl_Window* window)
{
    if (event == FL_KEYBOARD && OfferKeyEvent(window))
        return 1;
    return Fl::handle_(event, window);
}

void CopyTextToClipboard(std::string_view text)
{
    EnsureFltk();
    Fl::copy(text.data(), static_cast<int>(text.size()), 1);  // CLIPBOARD (FLTK keeps a copy)
    Fl::copy(text.data(), static_cast<int>(text.size()), 0);  // PRIMARY
}

void HostWindowMoved(WindowRecord& window, bool moved, bool resized)
{
    if (!WindowAlive(&window) || !window.native->widget)
        return;
    Fl_Window* host = HostOf(window);
    if (!host || !host->shown())
        return;
    if (moved)
        SendMove(window, host->x(), host->y());
    if (resized && WindowAlive(&window)) {
        window.width = host->w();
        window.height = host->h();
        backend::ResetPixels(window);
        SendSize(window);
    }
}

void DrawGlFrames(const WindowRecord& window)
{
    fl_color(FL_BLACK);
    for (const WindowRecord* child : window.children)
        if (child->native->glWindow)
            fl_rect(child->x - 1, child->y - 1, child->width + 2, child->height + 2);
}

// --- Test helpers --------------------------------------------------------------------------------

std::uint32_t FltkPixel(Window window, int x, int y)
{
    return PixelOf(window, x, y);
}

Fl_Widget* FltkWidget(Window window)
{
    return WindowAlive(window) ? window->native->widget : nullptr;
}

Fl_Widget* FltkGlSurface(Window window)
{
    return WindowAlive(window) ? window->native->glWindow : nullptr;
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
