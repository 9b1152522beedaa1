// The headless platform: windows and controls are plain records, message boxes are answered by
// a responder that a test installs, paint requests are queued until a test pumps them, and every
// static control keeps a pixel buffer of its client size that tests read back.
#pragma once

#include "platform/window_model.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Creates a top-level window with the given procedure and client size. The procedure (may be
// null) receives no creation message; tests send what they need.
Window HeadlessCreateWindow(WindowProc proc, int width, int height);

// Adds a control to a window: id, client rectangle in the parent's client pixels, text.
Window HeadlessAddControl(Window parent, int id, int x, int y, int width, int height,
                          std::string text = {});

// Delivers one tick of the window's timer `id` if that timer runs; returns whether it did.
bool HeadlessFireTimer(Window window, int id);

// Whether the window still exists (not destroyed).
bool HeadlessWindowExists(Window window);

// Keys and clicks through the dialog manager: Escape sends command 2 to the dialog, Enter sends
// the focused push button's id or else 1, Tab moves the focus to the next tab stop. A click on a
// push button sends its id; on a check box toggles it, then sends its id. A click on a dialog's
// close box sends command 2; on a top-level window's destroys it. Disabled controls ignore it.
enum class HeadlessKey { Escape, Enter, Tab };
void HeadlessPressKey(Window dialog, HeadlessKey key);
void HeadlessClickControl(Window dialog, int controlId);
void HeadlessClickClose(Window window);

// Typing into a window (a dialog or a top-level window) as the desktop delivers it: each
// byte of the text as a Char message (tests type ASCII), then, when the window's procedure leaves a
// space alone, the space presses the dialog's focused push button or check box; a key that types no
// character as KeyDown with its modifiers. Nothing reaches a disabled window or one whose focus
// is in an edit field.
void HeadlessTypeText(Window window, std::string_view text);
void HeadlessTypeKey(Window window, int key, int modifiers = 0);

// The text copied to the clipboard last (empty after HeadlessReset).
const std::string& HeadlessClipboard();

// Moves a top-level window's client origin on the screen (sends Move), or resizes its client
// area (sends Size).
void HeadlessMoveWindow(Window window, int x, int y);
void HeadlessResizeWindow(Window window, int width, int height);

// Runs the OpenGL redraw routine of a control, as the toolkit does when a window is uncovered.
void HeadlessExposeGl(Window control);

// Delivers the queued (posted) messages; returns how many.
int HeadlessDeliverPosted();

// The drivers of modal runs and of the message loop: called once per turn of the loop, after
// the queued messages were delivered, until the run ends. Without a driver a modal dialog ends
// at once with result 0 and the message loop returns -1 when no quit message is due, so a
// test can never hang on them.
void HeadlessSetModalDriver(std::function<void(Window dialog)> driver);
void HeadlessSetLoopDriver(std::function<void()> driver);

// Popup menus: the responder sees the items and the screen point and returns the chosen id,
// or 0 to cancel (the default). The last menu shown stays readable.
struct ShownMenu {
    std::vector<MenuItemRecord> items;  // the window model's records, copied
    int screenX = 0;
    int screenY = 0;
    Window owner = nullptr;
};
void HeadlessSetMenuResponder(std::function<int(const ShownMenu&)> responder);
const std::vector<ShownMenu>& HeadlessMenusShown();

// ExitProcess calls the handler (a test's handler throws to get back); without one, or if it
// returns, the process exits.
void HeadlessSetExitHandler(std::function<void(int code)> handler);

// Windows by state: all top-level windows and dialogs that still exist, in creation order.
std::vector<Window> HeadlessTopLevelWindows();
std::string HeadlessWindowText(Window window);  // caption of a window, text of a control
bool HeadlessIsVisible(Window window);

// Destroys every window and forgets recorded message boxes, paints and the responder.
void HeadlessReset();

// Message boxes: each is recorded, then answered by the responder (by default Ok for an OK box
// and Yes for a Yes/No box).
struct RecordedMessageBox {
    Window owner = nullptr;
    std::string text;
    std::string caption;
    MessageBoxButtons buttons = MessageBoxButtons::Ok;
};
using MessageBoxResponder = std::function<MessageBoxResult(const RecordedMessageBox&)>;
void HeadlessSetMessageBoxResponder(MessageBoxResponder responder);
const std::vector<RecordedMessageBox>& HeadlessMessageBoxes();

// Paint requests: how many the window received, and delivering the queued ones. Returns the
// number of paint messages delivered.
int HeadlessPaintRequests(Window window);
int HeadlessDeliverPaints();

// How many times a control's pixels changed through GDI (each rectangle drawn) or its scroll
// state changed, so tests can tell whether a control was drawn.
int HeadlessPictureChanges(Window control);

// How many OpenGL frames were shown on a control (SwapGlBuffers with a context current).
int HeadlessGlFrames(Window control);

// The pixel of a control's buffer as 0x00RRGGBB; 0xFF000000 outside the buffer.
std::uint32_t HeadlessPixel(Window control, int x, int y);

// OpenGL: whether the surfaceless EGL display could be opened, and a way to make the next
// context creations fail at a chosen step (GlFailure::None to stop failing).
enum class GlFailure { None, ChooseFormat, SetFormat, CreateContext };
bool HeadlessGlAvailable();
void HeadlessFailGl(GlFailure failure);

// Whether a control is enabled.
bool HeadlessIsEnabled(Window control);
