// The desktop platform's part of the window model's records and the helpers its source files
// share. FLTK types are only named here, never included, so that files that include platform.h
// stay free of X11 and FLTK headers unless they need them.
#pragma once

#include "platform/window_model.h"

class Fl_Widget;
class Fl_Window;
class Fl_Gl_Window;

struct GlContextRecord {
    WindowRecord* window = nullptr;  // the window whose Fl_Gl_Window it draws through; null once
                                     // that window is gone
};

// The desktop's part of a window record.
struct NativeWindow {
    Fl_Widget* widget = nullptr;       // the control's widget, or the FLTK window of a dialog or
                                       // top-level window; null once destroyed
    Fl_Gl_Window* glWindow = nullptr;  // the OpenGL surface over the control or client area
    GlContextRecord* glContext = nullptr;  // the live context of that surface, if any
};

// --- Shared between the platform's source files -------------------------------------------

// Sets FLTK up once (visual, colours, fonts); every call that makes a window calls it first.
void EnsureFltk();

// The record of a widget made by this layer, or null.
WindowRecord* RecordOfWidget(const Fl_Widget* widget);

// What the widgets report to the layer.
int HandleHostEvent(WindowRecord& window, int event);  // -1: leave it to FLTK
void NoteFocus(WindowRecord& window);  // remembers which of its controls has the focus
void HostWindowMoved(WindowRecord& window, bool moved, bool resized);
void SendScroll(WindowRecord& bar, int code, int position);
void DrawGlFrames(const WindowRecord& window);  // 1-pixel frames around OpenGL surfaces

// Releases the current OpenGL context if it draws on `window` (before the window goes).
void ReleaseGlOf(WindowRecord& window);
