// The platform layer: the program's own small stand-in for the parts of Win32, GDI and WGL that
// it uses. Nothing here names a toolkit type; two implementations serve it, a headless one for
// tests (windows are plain records, timers fire when a test says so) and the desktop one.
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
};

struct MessageParams {
    int id = 0;                // command id, timer id or scroll code
    int x = 0;                 // mouse x, client origin x or client width
    int y = 0;                 // mouse y, client origin y or client height
    int position = 0;          // the thumb's track position of a horizontal scroll
    Window control = nullptr;  // the scroll bar that sent a horizontal scroll
};

using WindowProc = int (*)(Window window, Message message, const MessageParams& params);

// Delivers a message to the window's procedure at once and returns its result (0 for null).
int SendWindowMessage(Window window, Message message, const MessageParams& params = {});

// ---------------------------------------------------------------------------------------------
// Dialogs, windows and timers
// ---------------------------------------------------------------------------------------------

// Creates a dialog from one of the program's templates (resources/dialog_templates.h) with all
// its controls, sends it InitDialog and returns it; null for an unknown template.
Window CreateModelessDialog(int templateId, Window owner, WindowProc proc);

// Destroys a window: its procedure receives Destroy, its timers stop, its children go with it.
void DestroyWindow(Window window);

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

Pen CreateSolidPen(std::uint32_t color);
Brush CreateSolidBrush(std::uint32_t color);
Pen StockBlackPen();
Pen StockWhitePen();
Brush StockBlackBrush();
Brush StockWhiteBrush();

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
// Process
// ---------------------------------------------------------------------------------------------

struct InstanceRecord;
using Instance = InstanceRecord*;  // the program module; resources are looked up through it
