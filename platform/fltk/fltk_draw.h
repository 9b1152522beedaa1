// FLTK's drawing header pulls in X11's, whose `Window` would clash with the platform's window
// handle: it is renamed while they are read. Include this before any other FLTK header.
#pragma once

#define Window XWindow
#include <FL/fl_draw.H>
#undef Window
