// Extras of the desktop (FLTK) platform beyond platform.h: the pieces of its logic that tests
// drive directly, and ways for a test to wait for the toolkit without hanging.
#pragma once

#include "platform/platform.h"

#include <cstdint>
#include <functional>
#include <vector>

class Fl_Widget;
struct Fl_Menu_Item;

// The geometry of a horizontal scroll bar of the given size: two square arrow buttons at the
// ends, the trough between them and the thumb in the trough at position `pos`.
struct ScrollGeometry {
    int arrow = 0;        // width of each arrow button
    int troughLeft = 0;   // first pixel column of the trough
    int troughRight = 0;  // one past the last pixel column of the trough
    int thumbLeft = 0;    // first pixel column of the thumb
    int thumbWidth = 0;
};
ScrollGeometry ComputeScrollGeometry(int width, int height, const ScrollInfo& info, int pos);

// The position that puts the thumb's left edge nearest to the pixel column `thumbLeft`,
// clamped to the range the thumb can reach.
int ScrollPositionForThumb(const ScrollGeometry& geometry, const ScrollInfo& info, int thumbLeft);

// The scroll code of a press at column x of the bar: ScrollLineLeft/Right on the arrows,
// ScrollPageLeft/Right in the trough beside the thumb, ScrollThumbTrack on the thumb.
int ScrollCodeAt(const ScrollGeometry& geometry, int width, int x);

// FLTK's menu array for a popup menu: items carry their command id as argument(), checked
// items FL_MENU_TOGGLE | FL_MENU_VALUE, a separator becomes FL_MENU_DIVIDER on the item before
// it, a submenu FL_SUBMENU followed by its items and a terminator. The texts point into the
// menu's records, so the array is valid while the menu lives unchanged.
std::vector<Fl_Menu_Item> BuildFltkMenuItems(Menu menu);

// The pixel of a window's device-context buffer as 0x00RRGGBB; 0xFF000000 outside it.
std::uint32_t FltkPixel(Window window, int x, int y);

// The widget behind a window or control (null for none or once destroyed).
Fl_Widget* FltkWidget(Window window);

// The FLTK window of an OpenGL surface made for a control or window, or null.
Fl_Widget* FltkGlSurface(Window window);

// Runs the toolkit until `done` returns true or `seconds` have passed; returns `done()`.
bool FltkRunUntil(const std::function<bool()>& done, double seconds);

// Whether the X display could be opened (the first call opens it).
bool FltkDisplayAvailable();
