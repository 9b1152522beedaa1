// The FLTK widgets of the desktop platform: a host window for dialogs and top-level windows,
// one widget per control kind, the OpenGL surface. Each is a small subclass that forwards what
// happens to the free functions of fltk_records.h; the logic lives there.
#pragma once

#include "platform/fltk/fltk_records.h"

#include <string>
#include <vector>

// A dialog's or top-level window's FLTK window with its client area at (x, y), not shown.
Fl_Window* MakeHostWindow(WindowRecord& window, int x, int y, int width, int height);

// The widget of a control of kind control.kind at its rectangle, added to the dialog's window.
Fl_Widget* MakeControlWidget(WindowRecord& control, Fl_Window& dialog);

// The OpenGL surface of a window: a child Fl_Gl_Window over the control's rectangle, or over
// the whole client area of a top-level window (then it follows the window's size).
Fl_Gl_Window* MakeGlSurface(WindowRecord& window);

// Runs a modal message box centred on the screen: the text, no icon, the buttons left to right
// (the first has the focus). Returns the index of the button pressed; Escape and the close box
// answer with the last one. The owner gets the keyboard back afterwards.
int RunFltkMessageBox(Fl_Window* owner, const std::string& text, const std::string& caption,
                      const std::vector<std::string>& buttons);

// Gives every window the program's icon (the embedded PNGs); EnsureFltk calls it once.
void SetProgramIcons();

// The text size of message boxes.
constexpr int MessageFontSize = 12;

// Fonts of the dialogs: FLTK's Helvetica at about the size of an 8-point dialog font.
constexpr int DialogFontSize = 11;
