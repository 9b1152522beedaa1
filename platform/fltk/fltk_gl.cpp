// OpenGL for the desktop platform: every surface is an Fl_Gl_Window (a child window over a
// control, or over a top-level window's client area) with FLTK's own GLX context, which FLTK
// shares with all its other contexts. A GlContext is a token bound to that window.
#include "platform/fltk/fltk_records.h"
#include "platform/fltk/fltk_widgets.h"
#include "platform/gl.h"

#include <FL/Fl.H>
#include <FL/Fl_Gl_Window.H>
#include <FL/gl.h>

// FLTK's own release of the current context; it also forgets FLTK's cache of the current
// window, which a raw glXMakeCurrent(None) would leave stale.
void fl_no_gl_context();

namespace {

constexpr int SurfaceMode = FL_RGB | FL_DOUBLE | FL_DEPTH | FL_STENCIL;

GlContextRecord* current = nullptr;  // the context made current through MakeGlCurrent
bool everCurrent = false;            // a context was made current once (the display is open)

void Release()
{
    if (everCurrent)
        fl_no_gl_context();
    current = nullptr;
}

Fl_Gl_Window* DrawableSurface(const DeviceContextRecord* dc)
{
    if (!dc || !WindowAlive(dc->window) || !dc->window->native->glWindow)
        return nullptr;
    Fl_Gl_Window* surface = dc->window->native->glWindow;
    return surface->shown() ? surface : nullptr;  // make_current() on a hidden one crashes
}

}  // namespace

void ReleaseGlOf(WindowRecord& window)
{
    if (current && current->window == &window)
        Release();
}

// FLTK needs the surface's picture (map, expose): the view's routine draws it through its
// own context token, or, without one, the surface is cleared to black. Whatever context the
// program had current is current again afterwards.
void FlushGlSurface(WindowRecord& window)
{
    Fl_Gl_Window* surface = window.native->glWindow;
    if (!surface || !surface->shown() || !WindowAlive(&window))
        return;
    GlContextRecord* before = current;
    if (window.dc.redraw && window.native->glContext) {
        window.dc.redraw();
    } else {
        surface->make_current();
        everCurrent = true;
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        surface->swap_buffers();
        Release();
    }
    if (before && before != current && before->window) {
        if (Fl_Gl_Window* back = DrawableSurface(&before->window->dc)) {
            back->make_current();
            current = before;
        }
    }
}

int ChooseGlPixelFormat(DeviceContext dc)
{
    if (!dc || !WindowAlive(dc->window))
        return 0;
    EnsureFltk();
    return Fl_Gl_Window::can_do(SurfaceMode) ? 1 : 0;
}

bool SetGlPixelFormat(DeviceContext dc, int format)
{
    if (!dc || format != 1 || !WindowAlive(dc->window))
        return false;
    WindowRecord& window = *dc->window;
    if (!window.native->glWindow) {
        if (!window.native->widget && !(window.parent && window.parent->native->widget))
            return false;
        window.native->glWindow = MakeGlSurface(window);
    }
    dc->pixelFormat = format;
    return true;
}

GlContext CreateGlContextFor(DeviceContext dc)
{
    if (!dc || dc->pixelFormat == 0 || !WindowAlive(dc->window) || !dc->window->native->glWindow)
        return nullptr;
    auto* context = new GlContextRecord{dc->window};
    dc->window->native->glContext = context;
    return context;
}

bool MakeGlCurrent(DeviceContext dc, GlContext rc)
{
    if (!dc && !rc) {
        Release();
        return true;
    }
    Fl_Gl_Window* surface = DrawableSurface(dc);
    if (!surface || !rc || rc->window != dc->window) {
        Release();
        return false;
    }
    surface->make_current();
    everCurrent = true;
    current = rc;
    return true;
}

GlContext CurrentGlContext()
{
    return current;
}

void SwapGlBuffers(DeviceContext dc)
{
    if (Fl_Gl_Window* surface = DrawableSurface(dc))
        surface->swap_buffers();
}

void DeleteGlContext(GlContext rc)
{
    if (!rc)
        return;
    if (current == rc)
        Release();
    if (rc->window && rc->window->native->glContext == rc) {
        rc->window->native->glContext = nullptr;
        if (rc->window->native->glWindow)
            rc->window->native->glWindow->redraw();  // black from now on
    }
    delete rc;
}
