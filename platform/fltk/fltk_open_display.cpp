#include "platform/fltk/fltk_open_display.h"

#include <FL/x.H>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

bool OpenDisplay()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        const char* name = std::getenv("DISPLAY");
        if (!name || !*name)
            std::fputs("tablewise: cannot open the display: DISPLAY is not set\n", stderr);
        else
            std::fprintf(stderr, "tablewise: cannot open the display \"%s\"\n", name);
        return false;
    }
    fl_open_display(display);
    return true;
}
