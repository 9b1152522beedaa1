// Whether an X display can be opened. Kept apart because X11's headers define `Window`, which
// is the platform's own window handle everywhere else.
#include <X11/Xlib.h>

bool FltkDisplayAvailable()
{
    static int available = -1;
    if (available < 0) {
        Display* display = XOpenDisplay(nullptr);
        available = display != nullptr ? 1 : 0;
        if (display)
            XCloseDisplay(display);
    }
    return available == 1;
}

// Moves a shown top-level window's client area to (x, y) on the screen. FLTK keeps 20 pixels
// above a new window for a title bar it assumes when no window manager has placed it; the
// program asks for exact places.
#include <FL/x.H>

void PlaceShownWindow(Fl_Window* window, int x, int y)
{
    if (window && window->shown()) {
        XMoveWindow(fl_display, fl_xid(window), x, y);
        XFlush(fl_display);
    }
}
