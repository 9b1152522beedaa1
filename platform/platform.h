// The platform layer: the program's own small stand-in for the parts of Win32, GDI and WGL that
// it uses. Nothing here names a toolkit type; two implementations serve it, a headless one for
// tests (windows are plain records, timers fire when a test says so) and the desktop one, over
// one toolkit-free window model (window_model.h) that keeps the records and the rules.
//
// Conventions: a Window is an opaque handle, null for none. Every window has one procedure that
// receives its messages; the value it returns means what the message's description says.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct WindowRecord;
using Window = WindowRecord*;  // opaque; null means no window

// ---------------------------------------------------------------------------------------------
// Messages
// ---------------------------------------------------------------------------------------------

enum class Message {
    Create,      // a window of a registered class is being created
    InitDialog,  // a dialog and its controls exist; return 1 to let focus go to the first tab stop
    Command,     // id: the command (control or menu item id)
    Timer,       // id: the timer
    MouseMove,   // x, y: client coordinates
    LeftDown,    // x, y: client coordinates
    LeftUp,      // x, y: client coordinates
    RightUp,     // x, y: client coordinates
    Paint,       // the window should repaint; validates its update region
    Move,        // x, y: the new screen position of the client area
    Size,        // x, y: the new client width and height
    HScroll,     // id: scroll code, position: thumb track position, control: the scroll bar
    Destroy,     // the window is being destroyed
    KeyDown,     // id: a key that types no character (VirtualKey), modifiers: the keys held
    Char,        // id: the character typed (its Unicode code point)
};

struct MessageParams {
    int id = 0;                // command id, timer id or scroll code
    int x = 0;                 // mouse x, client origin x or client width
    int y = 0;                 // mouse y, client origin y or client height
    int position = 0;          // the thumb's track position of a horizontal scroll
    Window control = nullptr;  // the scroll bar that sent a horizontal scroll
    int modifiers = 0;         // KeyDown: ModifierShift | ModifierControl | ModifierAlt
};

using WindowProc = int (*)(Window window, Message message, const MessageParams& params);

// Delivers a message to the window's procedure at once and returns its result (0 for null).
int SendWindowMessage(Window window, Message message, const MessageParams& params = {});

// Queues a message for the window; the message loop (or a nested modal loop) delivers it.
void PostWindowMessage(Window window, Message message, const MessageParams& params = {});

// Scroll codes of a horizontal scroll bar, as they arrive in MessageParams::id.
enum ScrollCode : int {
    ScrollLineLeft = 0,
    ScrollLineRight = 1,
    ScrollPageLeft = 2,
    ScrollPageRight = 3,
    ScrollThumbPosition = 4,
    ScrollThumbTrack = 5,
    ScrollLeft = 6,
    ScrollRight = 7,
    ScrollEnd = 8,
};

// Keys. A key press reaches the window with the keyboard focus (its dialog, for a control) as
// one message: Char when it types a printable character without Control or Alt held, else
// KeyDown; pressing Shift, Control, Alt or a lock key alone sends nothing. Tab, Enter and Escape
// never arrive (a dialog's dialog manager takes them, other windows ignore them), nor does any
// key while an edit field has the focus or the window is disabled. A window procedure returns
// nonzero when it took the key; otherwise the key keeps its usual meaning (a space presses the
// focused button).
enum VirtualKey : int {
    KeyOther = 0,  // a key without a code of its own here (arrows, function keys, ...)
    KeyBackspace = 8,
    KeySpace = 32,  // only with Control or Alt held; otherwise it arrives as Char ' '
    KeyDelete = 46,
    // '0'..'9' and 'A'..'Z' (capitals): the digit and letter keys, with Control or Alt held.
};
enum KeyModifier : int {
    ModifierShift = 1,
    ModifierControl = 2,
    ModifierAlt = 4,
};

// ---------------------------------------------------------------------------------------------
// Dialogs, windows and timers
// ---------------------------------------------------------------------------------------------

// Creates a dialog from one of the program's templates (resources/dialog_templates.h) with all
// its controls, sends it InitDialog and returns it; null for an unknown template.
Window CreateModelessDialog(int templateId, Window owner, WindowProc proc);

// Runs a dialog modally: creates it from its template, sends InitDialog, then dispatches every
// message of the program (timers of other windows included) until EndDialog or the dialog's
// destruction; returns the result given to EndDialog (0 when it was destroyed), -1 for an
// unknown template.
int RunModalDialog(int templateId, Window owner, WindowProc proc);

// Ends the modal run of a dialog with the result; the dialog is destroyed when its run ends.
void EndDialog(Window dialog, int result);

// Destroys a window: its procedure receives Destroy, its timers stop, its children and the
// windows it owns go with it. Destroying a destroyed window does nothing.
void DestroyWindow(Window window);

// Shows a window; paints it at once.
void ShowWindow(Window window);
void UpdateWindow(Window window);

// Keyboard focus and activation. FocusedWindow is null when no window of the program has it.
void SetFocus(Window window);
void SetActiveWindow(Window window);
Window FocusedWindow();

// A window's outer rectangle in screen coordinates (a control's own rectangle).
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
ScreenRect WindowScreenRect(Window window);

// A dialog's outer rectangle is its client area with a frame of this width on the left, the
// right and the bottom and a caption of this height above, whatever frame the window manager
// really draws (under Xvfb there is none): the main dialog's start-up takes the client origin
// as that corner plus (frame, caption), and the areas it measures from it must land exactly
// where the mouse messages put them.
constexpr int DialogFrameWidth = 3;
constexpr int DialogCaptionHeight = 29;

// Registers a window class: windows of it get the procedure. False when the name is taken.
bool RegisterWindowClass(std::string_view className, WindowProc proc);

// Creates a resizable top-level window of a registered class, owned by `owner` (it stays in
// front of it and is destroyed with it), with its client area at the screen point (x, y) and
// of the given size. The procedure receives Create, then Size with the client size. Null when
// the class is unknown or the procedure's Create answer is -1.
Window CreateTopLevelWindow(std::string_view className, std::string_view caption, int x, int y,
                            int width, int height, Window owner);

// Ends the message loop with the code once the current message is handled.
void PostQuitMessage(int code);

// Dispatches messages until the quit message arrives and returns its code. Keys go through the
// dialog manager of `keyboardDialog` first (Tab, Enter, Escape).
int RunMessageLoop(Window keyboardDialog);

// Ends the process at once with the code; only the clean-up of static state runs.
[[noreturn]] void ExitProcess(int code);

// Starts (or restarts) timer `id` of the window; its ticks arrive as Timer messages.
void SetTimer(Window window, int id, int periodMs);
void KillTimer(Window window, int id);

// ---------------------------------------------------------------------------------------------
// Controls of a dialog
// ---------------------------------------------------------------------------------------------

Window ControlWindow(Window dialog, int controlId);  // null when the dialog has no such control
void SetControlText(Window dialog, int controlId, std::string_view text);
std::string ControlText(Window dialog, int controlId);  // empty for a missing control
bool IsControlChecked(Window dialog, int controlId);    // check box state; false when missing
void SetControlChecked(Window dialog, int controlId, bool checked);
void EnableControl(Window dialog, int controlId, bool enabled);

struct ClientSize {
    int width = 0;
    int height = 0;
};
ClientSize WindowClientSize(Window window);  // 0 by 0 for null

// ---------------------------------------------------------------------------------------------
// Scroll bars
// ---------------------------------------------------------------------------------------------

struct ScrollInfo {
    int min = 0;
    int max = 0;
    int page = 0;  // only sizes the thumb
    int pos = 0;
    int trackPos = 0;  // where the thumb is while it is dragged
};

// Sets the range, page and position of a scroll bar control.
void SetScrollInfo(Window bar, const ScrollInfo& info, bool redraw);
// Sets only the position.
void SetScrollPosition(Window bar, int pos, bool redraw);
ScrollInfo GetScrollInfo(Window bar);  // all zero for null

// ---------------------------------------------------------------------------------------------
// Popup menus
// ---------------------------------------------------------------------------------------------

struct MenuRecord;
using Menu = MenuRecord*;

Menu CreatePopupMenu();
void AppendMenuItem(Menu menu, int id, std::string_view text);
void AppendSubmenu(Menu menu, Menu submenu, std::string_view text);  // the menu owns it now
void AppendMenuSeparator(Menu menu);
void CheckMenuItem(Menu menu, int id, bool checked);  // by command id, submenus included

// Shows the menu with its top-left corner at the screen point and runs until the user chooses
// or cancels; timers keep firing meanwhile. A chosen item's id is posted to the owner as a
// Command; a cancelled menu sends nothing.
void TrackPopupMenu(Menu menu, int screenX, int screenY, Window owner);
void DestroyMenu(Menu menu);  // submenus included

// ---------------------------------------------------------------------------------------------
// Message boxes
// ---------------------------------------------------------------------------------------------

enum class MessageBoxButtons { Ok, YesNo };
enum class MessageBoxResult { Ok, Yes, No };

// Shows a modal message box; timers of the program keep firing while it is open.
MessageBoxResult ShowMessageBox(Window owner, std::string_view text, std::string_view caption,
                                MessageBoxButtons buttons);

// ---------------------------------------------------------------------------------------------
// Painting
// ---------------------------------------------------------------------------------------------

// Has the window's paint handler run once more without invalidating anything; `now` runs it
// before returning, otherwise at the next turn of the message loop.
void RequestPaint(Window window, bool now);

// ---------------------------------------------------------------------------------------------
// Device contexts of static controls (GDI's rectangles)
// ---------------------------------------------------------------------------------------------

struct DeviceContextRecord;
using DeviceContext = DeviceContextRecord*;

// A colour as 0x00RRGGBB.
constexpr std::uint32_t Rgb(int red, int green, int blue)
{
    return (static_cast<std::uint32_t>(red) << 16) | (static_cast<std::uint32_t>(green) << 8) |
           static_cast<std::uint32_t>(blue);
}

// Pens and brushes are solid colours made once and never deleted, so they are plain values.
struct Pen {
    std::uint32_t color = 0;  // 0x00RRGGBB; the outline is one pixel wide
};
struct Brush {
    std::uint32_t color = 0;  // 0x00RRGGBB
};

constexpr Pen CreateSolidPen(std::uint32_t color)
{
    return Pen{color};
}
constexpr Brush CreateSolidBrush(std::uint32_t color)
{
    return Brush{color};
}
constexpr Pen StockBlackPen()
{
    return Pen{Rgb(0, 0, 0)};
}
constexpr Pen StockWhitePen()
{
    return Pen{Rgb(255, 255, 255)};
}
constexpr Brush StockBlackBrush()
{
    return Brush{Rgb(0, 0, 0)};
}
constexpr Brush StockWhiteBrush()
{
    return Brush{Rgb(255, 255, 255)};
}

// The control's device context; a fresh one starts with the black pen and the white brush.
// Null for a null window.
DeviceContext GetDeviceContext(Window control);
void ReleaseDeviceContext(Window control, DeviceContext dc);
void SelectPen(DeviceContext dc, Pen pen);
void SelectBrush(DeviceContext dc, Brush brush);

// GDI's rectangle: the outline in the selected pen, the inside filled with the selected brush;
// it covers columns left..right-1 and rows top..bottom-1, clipped to the control. An empty or
// inverted rectangle draws nothing.
void Rectangle(DeviceContext dc, int left, int top, int right, int bottom);

// ---------------------------------------------------------------------------------------------
// Clipboard
// ---------------------------------------------------------------------------------------------

// Puts plain text on the clipboard: on X both the CLIPBOARD and the PRIMARY selection, which the
// program keeps answering for while it runs, whichever window has the focus.
void CopyTextToClipboard(std::string_view text);

// ---------------------------------------------------------------------------------------------
// Process
// ---------------------------------------------------------------------------------------------

struct InstanceRecord;
using Instance = InstanceRecord*;  // the program module; resources are looked up through it
