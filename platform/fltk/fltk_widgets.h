// The FLTK widgets of the desktop platform: a host window for dialogs and top-level windows,
// one widget per control kind, the OpenGL surface. Each is a small subclass that forwards what
// happens to the free functions of fltk_records.h; the logic lives there.
#pragma once

#include "platform/fltk/fltk_records.h"

// A dialog's or top-level window's FLTK window with its client area at (x, y), not shown.
Fl_Window* MakeHostWindow(WindowRecord& window, int x, int y, int width, int height);

// The widget of a control of kind control.kind at its rectangle, added to the dialog's window.
Fl_Widget* MakeControlWidget(WindowRecord& control, Fl_Window& dialog);

// The OpenGL surface of a window: a child Fl_Gl_Window over the control's rectangle, or over
// the whole client area of a top-level window (then it follows the window's size).
Fl_Gl_Window* MakeGlSurface(WindowRecord& window);

// Fonts of the dialogs: FLTK's Helvetica at about the size of an 8-point dialog font.
constexpr int DialogFontSize = 11;
