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
