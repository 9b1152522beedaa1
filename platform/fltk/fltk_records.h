// The records behind the desktop platform's handles and the helpers its source files share.
// FLTK types are only named here, never included, so that files that include platform.h stay
// free of X11 and FLTK headers unless they need them.
#pragma once

#include "platform/platform.h"
#include "resources/dialog_templates.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Fl_Widget;
class Fl_Window;
class Fl_Gl_Window;

struct TimerRecord;

struct DeviceContextRecord {
    WindowRecord* window = nullptr;  // the control or window it draws on
    Pen pen;
    Brush brush;
    int pixelFormat = 0;         // 1 once SetGlPixelFormat succeeded
    void (*redraw)() = nullptr;  // the view's routine, run when the toolkit needs the picture
};

struct GlContextRecord {
    WindowRecord* window = nullptr;  // the window whose Fl_Gl_Window it draws through; null once
                                     // that window is gone
};

struct WindowRecord {
    WindowProc proc = nullptr;
    WindowRecord* parent = nullptr;  // the dialog of a control
    WindowRecord* owner = nullptr;   // the owner of a dialog or top-level window
    int id = 0;                      // control id, or the template id of a dialog
    ControlKind kind = ControlKind::BlackFrame;
    bool tabStop = false;
    bool isDialog = false;
    bool isTopLevel = false;           // made by CreateTopLevelWindow
    Fl_Widget* widget = nullptr;       // the control's widget, or the FLTK window of a dialog or
                                       // top-level window; null once destroyed
    Fl_Gl_Window* glWindow = nullptr;  // the OpenGL surface over the control or client area
    GlContextRecord* glContext = nullptr;  // the live context of that surface, if any
    int x = 0;  // a control's client rectangle in its dialog's client pixels; a top-level
                // window's requested client origin on the screen
    int y = 0;
    int width = 0;
    int height = 0;
    std::string text;                   // caption of a window, text of a control
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, width * height, row 0 at the top
    DeviceContextRecord dc;             // one per window, reused by every GetDeviceContext
    ScrollInfo scroll;
    bool tracking = false;  // the scroll bar's thumb is being dragged
    int trackGrab = 0;      // where in the thumb the mouse grabbed it, in pixels
    bool enabled = true;
    bool modalRunning = false;
    bool modalEnded = false;
    int modalResult = 0;
    bool paintQueued = false;
    bool wantsFocus = false;              // InitDialog asked for the first tab stop
    WindowRecord* lastFocus = nullptr;    // the control that had the focus last
    std::vector<WindowRecord*> children;  // controls in template order
    std::vector<TimerRecord*> timers;
    bool destroyed = false;
};

struct MenuItemRecord {
    int id = 0;  // 0 for a separator or a submenu
    std::string text;
    bool checked = false;
    bool separator = false;
    std::unique_ptr<MenuRecord> submenu;
};

struct MenuRecord {
    std::vector<MenuItemRecord> items;
};

// --- Shared between the platform's source files -------------------------------------------

// Sets FLTK up once (visual, colours, fonts); every call that makes a window calls it first.
void EnsureFltk();

// Whether the window and all its parents still exist.
bool WindowAlive(const WindowRecord* window);

// The record of a widget made by this layer, or null.
WindowRecord* RecordOfWidget(const Fl_Widget* widget);

// What the widgets report to the layer.
void PressControl(WindowRecord& control);              // button, check box, Enter
int HandleHostEvent(WindowRecord& window, int event);  // -1: leave it to FLTK
void NoteFocus(WindowRecord& window);  // remembers which of its controls has the focus
void HostWindowMoved(WindowRecord& window, bool moved, bool resized);
void HostWindowClosed(WindowRecord& window);  // the close box
void SendScroll(WindowRecord& bar, int code, int position);
void DrawGlFrames(const WindowRecord& window);  // 1-pixel frames around OpenGL surfaces

// Releases the current OpenGL context if it draws on `window` (before the window goes).
void ReleaseGlOf(WindowRecord& window);
