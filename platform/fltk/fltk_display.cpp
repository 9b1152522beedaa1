// The desktop platform's direct dealings with the X server: whether a display can be opened,
// where a window's frame goes, and which window takes the keyboard. Kept apart because X11's
// headers define `Window`, which is the platform's own window handle everywhere else.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <FL/Fl_Window.H>
#include <FL/x.H>

#include <chrono>
#include <thread>

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

namespace {

// Waits, in steps of 10 ms for at most a second, until `ready` holds; returns whether it did.
template <class Ready> bool WaitFor(Ready ready)
{
    for (int step = 0; step < 100; ++step) {
        XSync(fl_display, False);
        if (ready())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// The first `count` 32-bit values of a window property, or false when it is not there.
bool ReadCardinals(::Window window, const char* name, long* values, int count)
{
    const Atom property = XInternAtom(fl_display, name, False);
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(fl_display, window, property, 0, count, False,
                                          AnyPropertyType, &type, &format, &items, &after, &data);
    const bool found =
        status == Success && data && format == 32 && items >= static_cast<unsigned long>(count);
    if (found) {
        const auto* longs = reinterpret_cast<const long*>(data);
        for (int i = 0; i < count; ++i)
            values[i] = longs[i];
    }
    if (data)
        XFree(data);
    return found;
}

// Whether an EWMH window manager runs: the root names a check window that names itself.
bool WindowManagerRunning()
{
    const ::Window root = RootWindow(fl_display, fl_screen);
    long check = 0, self = 0;
    if (!ReadCardinals(root, "_NET_SUPPORTING_WM_CHECK", &check, 1) || check == 0)
        return false;
    return ReadCardinals(static_cast<::Window>(check), "_NET_SUPPORTING_WM_CHECK", &self, 1) &&
           self == check;
}

bool Viewable(::Window window)
{
    XWindowAttributes attributes{};
    return XGetWindowAttributes(fl_display, window, &attributes) &&
           attributes.map_state == IsViewable;
}

}  // namespace

// Puts the top-left corner of a shown top-level window's frame at (x, y) on the screen, the
// client area keeping its size. Without a window manager there is no frame: the client goes
// there. Under one, the frame's extents (_NET_FRAME_EXTENTS, set once it has framed the window)
// tell where the client must go; FLTK asks for static gravity, so the window manager takes the
// position asked for as the client's own. FLTK itself keeps 20 pixels above a new window for a
// title bar it guesses at, which this replaces.
void PlaceShownWindow(Fl_Window* window, int x, int y)
{
    if (!window || !window->shown())
        return;
    const ::Window xid = fl_xid(window);
    long extents[4] = {0, 0, 0, 0};  // left, right, top, bottom
    if (WindowManagerRunning())
        WaitFor([&] { return ReadCardinals(xid, "_NET_FRAME_EXTENTS", extents, 4); });
    XMoveWindow(fl_display, xid, x + static_cast<int>(extents[0]),
                y + static_cast<int>(extents[2]));
    XFlush(fl_display);
}

// Gives a shown window the keyboard focus at once. A window manager is asked to activate it
// (_NET_ACTIVE_WINDOW); without one nobody would, so the focus is set directly once the window
// is viewable, and the server hands it back to the window under the pointer when it goes.
void ActivateShownWindow(Fl_Window* window)
{
    if (!window || !window->shown())
        return;
    const ::Window xid = fl_xid(window);
    if (WindowManagerRunning()) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = xid;
        event.xclient.message_type = XInternAtom(fl_display, "_NET_ACTIVE_WINDOW", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = 1;  // from an application
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(fl_display, RootWindow(fl_display, fl_screen), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &event);
    } else if (WaitFor([&] { return Viewable(xid); })) {
        XRaiseWindow(fl_display, xid);
        XSetInputFocus(fl_display, xid, RevertToPointerRoot, CurrentTime);
    }
    XFlush(fl_display);
}

// Tells the window manager that a fixed-size window can be moved, minimised and closed, but
// neither resized nor maximised, and that its frame shows no maximise button (the Motif hints
// FLTK writes list the functions it takes away, which some window managers do not read).
void MarkShownWindowFixedSize(Fl_Window* window)
{
    if (!window || !window->shown())
        return;
    constexpr long Functions = 1, Decorations = 2;                      // which fields count
    constexpr long Move = 4, Minimise = 8, Close = 32;                  // functions
    constexpr long Border = 2, Title = 8, Menu = 16, MinimiseBox = 32;  // decorations
    const long hints[5] = {Functions | Decorations, Move | Minimise | Close,
                           Border | Title | Menu | MinimiseBox, 0, 0};
    const Atom atom = XInternAtom(fl_display, "_MOTIF_WM_HINTS", False);
    XChangeProperty(fl_display, fl_xid(window), atom, atom, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(hints), 5);
    XFlush(fl_display);
}
