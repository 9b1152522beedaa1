// The window model: the toolkit-free half of the platform layer that both implementations
// share. It keeps the records behind the handles (windows, controls, device contexts, timers,
// menus), builds dialogs from their templates, runs the dialog manager's keys and close box,
// queues posted messages, registers window classes and holds the quit message. What only a
// toolkit can do (widgets, focus, timeouts, the screen) it asks of the implementation's
// backend, which each implementation defines once.
#pragma once

#include "platform/platform.h"
#include "resources/dialog_templates.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Each implementation's own part of a window record (the desktop's widgets, the headless
// platform's surfaces). Each implementation defines it, together with the constructor and the
// destructor of WindowRecord, which make and free it.
struct NativeWindow;

struct DeviceContextRecord {
    WindowRecord* window = nullptr;  // the control or window it draws on
    Pen pen;
    Brush brush;
    int pixelFormat = 0;         // 1 once SetGlPixelFormat succeeded
    void (*redraw)() = nullptr;  // the view's OpenGL routine, run when the picture is needed
};

struct TimerRecord {
    WindowRecord* window = nullptr;
    int id = 0;
    int periodMs = 1;
};

struct WindowRecord {
    WindowRecord();
    ~WindowRecord();

    WindowProc proc = nullptr;
    WindowRecord* parent = nullptr;  // the dialog of a control
    WindowRecord* owner = nullptr;   // the owner of a dialog or top-level window
    int id = 0;                      // control id, or the template id of a dialog
    ControlKind kind = ControlKind::BlackFrame;
    bool tabStop = false;
    bool isDialog = false;
    bool isTopLevel = false;  // made by CreateTopLevelWindow
    int x = 0;  // a control's client rectangle in its dialog's client pixels; a top-level
    int y = 0;  // window's client origin on the screen as asked for (or as the backend keeps it)
    int width = 0;
    int height = 0;
    std::string text;  // caption of a window, text of a control
    bool checked = false;
    bool enabled = true;
    ScrollInfo scroll;
    bool tracking = false;  // the scroll bar's thumb is being dragged
    int trackGrab = 0;      // where in the thumb the mouse grabbed it, in pixels
    bool modalRunning = false;
    bool modalEnded = false;
    int modalResult = 0;
    bool paintPending = false;            // a paint is due (or queued) and not yet delivered
    WindowRecord* lastFocus = nullptr;    // a dialog's control that had the focus last
    std::vector<std::uint32_t> pixels;    // 0x00RRGGBB, width * height, row 0 at the top
    DeviceContextRecord dc;               // one per window, reused by every GetDeviceContext
    std::vector<WindowRecord*> children;  // controls in template order
    std::vector<std::unique_ptr<TimerRecord>> timers;
    bool destroyed = false;
    std::unique_ptr<NativeWindow> native;
};

struct MenuItemRecord {
    int id = 0;  // 0 for a separator or a submenu
    std::string text;
    bool checked = false;
    bool separator = false;
    std::vector<MenuItemRecord> submenu;  // the items of a submenu
    bool isSubmenu = false;
};

struct MenuRecord {
    std::vector<MenuItemRecord> items;
};

// What the model asks of an implementation: each platform library defines these (the model is
// compiled into each), so the backend is chosen when the program is linked.
namespace backend {

// A dialog's or top-level window's records are complete, controls included: make what shows
// them.
void WindowMade(WindowRecord& window);
// Fills the pixel buffer as the window looks before anything draws on it.
void ResetPixels(WindowRecord& window);
// The window and its controls are destroyed and their records marked so; the backend lets go
// of what showed them.
void WindowDestroyed(WindowRecord& window);
// The client area's rectangle on the screen of a dialog or top-level window; false when it has
// none.
bool ClientRect(const WindowRecord& window, ScreenRect& rect);
// Keyboard focus as the model sees it: the window that has it, and giving it to a control.
WindowRecord* FocusedRecord();
void Focus(WindowRecord& control);
// A control's state changed in its record: show it. Before the model reads a control's text
// or check mark, the backend brings the record up to date with what the user did.
enum class Change { Text, Check, Enabled, Picture };  // Picture: scroll state or pixels
void ControlChanged(WindowRecord& control, Change change);
void ReadControl(WindowRecord& control);
// A message was queued; a timer was started (or restarted with a new period) or stopped.
void MessagePosted();
void TimerStarted(TimerRecord& timer);
void TimerStopped(TimerRecord& timer);
// UpdateWindow paints at once: first the toolkit draws what it has pending.
void Flush();
// Runs a modal dialog that InitDialog left running: shows it and dispatches messages until it
// ends or is destroyed (or the quit message comes). Afterwards the owner, enabled again, gets
// ModalEnded.
void RunModal(WindowRecord& dialog);
void ModalEnded(WindowRecord& owner);

}  // namespace backend

// --- Records ---------------------------------------------------------------------------------

// A new record, kept until ResetWindowModel; so handles of destroyed windows stay safe to test.
WindowRecord& NewWindowRecord(WindowProc proc = nullptr);
// A control added to the parent at its client rectangle (negative sizes become 0).
WindowRecord& AddControlRecord(WindowRecord& parent, int id, int x, int y, int width, int height,
                               std::string text);
// Whether the window and all its parents still exist.
bool WindowAlive(const WindowRecord* window);
// Every window that is not a control, destroyed ones included, in creation order.
std::vector<WindowRecord*> TopLevelRecords();
// Forgets every window, queued message, class and the quit message.
void ResetWindowModel();
// The pixel of a window's buffer as 0x00RRGGBB; 0xFF000000 outside it or for none.
std::uint32_t PixelOf(const WindowRecord* window, int x, int y);
// GDI's rectangle in a buffer of width * height pixels: the outline in the pen's colour, the
// inside in the brush's, covering columns left..right-1 and rows top..bottom-1, clipped to the
// buffer. An empty or inverted rectangle draws nothing.
void FillGdiRectangle(std::vector<std::uint32_t>& pixels, int width, int height, std::uint32_t pen,
                      std::uint32_t brush, int left, int top, int right, int bottom);

// --- Messages and the quit message -----------------------------------------------------------

// Delivers the queued messages: all of them, or only those queued when the call began (so a
// window that posts to itself cannot starve a loop; the backend hears of the rest as newly
// posted). Returns how many were delivered.
int DeliverPostedMessages(bool onlyThoseQueuedNow);
// Whether the quit message came; TakeQuitMessage clears it and gives its code.
bool QuitMessagePosted();
int TakeQuitMessage();

// --- Dialogs ---------------------------------------------------------------------------------

// The dialog manager: Escape sends command 2, Enter presses the focused enabled push button
// or sends 1, Tab moves the focus to the next (backwards: the previous) enabled tab stop in
// template order. A disabled dialog (another runs modally over it) takes no keys.
enum class DialogKey { Escape, Enter, Tab };
void PressDialogKey(WindowRecord& dialog, DialogKey key, bool backwards = false);
// The close box: a dialog gets command 2, a top-level window is destroyed.
void PressCloseBox(WindowRecord& window);
// A push button or check box reports its id to its dialog unless it or the dialog is
// disabled; `toggle` turns a check box's mark first (the desktop's widgets toggle themselves).
void PressControl(WindowRecord& control, bool toggle);
// A key typed into a window (KeyDown or Char; never Tab, Enter or Escape): its procedure gets it
// unless the window is disabled or the focus is in an edit field. Returns whether it was taken
// (the procedure's answer was nonzero); a key not taken is left to the toolkit's own meaning.
bool OfferKey(WindowRecord& window, Message message, const MessageParams& params);
// Gives the focus to a dialog's control and remembers it as the dialog's last focus.
void FocusControl(WindowRecord& control);
// Sends Move with the point, or Size with the client size.
void SendMove(WindowRecord& window, int x, int y);
void SendSize(WindowRecord& window);
