// OpenGL for the headless platform: Mesa's EGL on the surfaceless platform, no X server. Each
// control that draws with OpenGL gets a pbuffer of its size; SwapGlBuffers copies the picture
// into the control's pixel buffer, where tests read it like any other control.
#include "platform/gl.h"
#include "platform/headless/records.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>

#include <algorithm>
#include <vector>

struct GlContextRecord {
    EGLContext context = EGL_NO_CONTEXT;
};

namespace {

struct EglWorld {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLConfig config = nullptr;
    bool tried = false;
    EGLContext shareContext = EGL_NO_CONTEXT;  // the first context made; all share with it
    GlContextRecord* current = nullptr;
    GlFailure failure = GlFailure::None;
};

EglWorld& Egl()
{
    static EglWorld world;
    return world;
}

// Opens the surfaceless display and picks the config of the fixed pixel format once.
bool EnsureDisplay()
{
    EglWorld& egl = Egl();
    if (egl.tried)
        return egl.display != EGL_NO_DISPLAY && egl.config != nullptr;
    egl.tried = true;
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay)
        return false;
    egl.display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (egl.display == EGL_NO_DISPLAY || !eglInitialize(egl.display, nullptr, nullptr)) {
        egl.display = EGL_NO_DISPLAY;
        return false;
    }
    const EGLint attributes[] = {EGL_SURFACE_TYPE,
                                 EGL_PBUFFER_BIT,
                                 EGL_RENDERABLE_TYPE,
                                 EGL_OPENGL_BIT,
                                 EGL_RED_SIZE,
                                 8,
                                 EGL_GREEN_SIZE,
                                 8,
                                 EGL_BLUE_SIZE,
                                 8,
                                 EGL_DEPTH_SIZE,
                                 24,
                                 EGL_STENCIL_SIZE,
                                 8,
                                 EGL_NONE};
    EGLint found = 0;
    if (!eglChooseConfig(egl.display, attributes, &egl.config, 1, &found) || found < 1) {
        egl.config = nullptr;
        return false;
    }
    return eglBindAPI(EGL_OPENGL_API) == EGL_TRUE;
}

// Makes sure the control's pbuffer exists and has the control's current size.
bool EnsureSurface(WindowRecord& control)
{
    NativeWindow& gl = *control.native;
    const int width = std::max(control.width, 1);
    const int height = std::max(control.height, 1);
    if (gl.glSurface && gl.glWidth == width && gl.glHeight == height)
        return true;
    if (gl.glSurface)
        eglDestroySurface(Egl().display, gl.glSurface);
    const EGLint attributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    gl.glSurface = eglCreatePbufferSurface(Egl().display, Egl().config, attributes);
    gl.glWidth = width;
    gl.glHeight = height;
    return gl.glSurface != EGL_NO_SURFACE;
}

}  // namespace

void DestroyHeadlessGlSurface(void* surface)
{
    if (surface && Egl().display != EGL_NO_DISPLAY)
        eglDestroySurface(Egl().display, surface);
}

void HeadlessFailGl(GlFailure failure)
{
    Egl().failure = failure;
}

bool HeadlessGlAvailable()
{
    return EnsureDisplay();
}

int ChooseGlPixelFormat(DeviceContext dc)
{
    if (!dc || Egl().failure == GlFailure::ChooseFormat || !EnsureDisplay())
        return 0;
    return 1;
}

bool SetGlPixelFormat(DeviceContext dc, int format)
{
    if (!dc || format != 1 || Egl().failure == GlFailure::SetFormat)
        return false;
    dc->pixelFormat = format;
    return true;
}

GlContext CreateGlContextFor(DeviceContext dc)
{
    EglWorld& egl = Egl();
    if (!dc || dc->pixelFormat == 0 || egl.failure == GlFailure::CreateContext || !EnsureDisplay())
        return nullptr;
    const EGLint attributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                 EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    EGLContext context = eglCreateContext(egl.display, egl.config, egl.shareContext, attributes);
    if (context == EGL_NO_CONTEXT)
        return nullptr;
    if (egl.shareContext == EGL_NO_CONTEXT)
        egl.shareContext = context;
    return new GlContextRecord{context};
}

bool MakeGlCurrent(DeviceContext dc, GlContext rc)
{
    EglWorld& egl = Egl();
    if (egl.display == EGL_NO_DISPLAY)
        return dc == nullptr && rc == nullptr;
    if (!dc || !rc || !WindowAlive(dc->window) || !EnsureSurface(*dc->window)) {
        eglMakeCurrent(egl.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        egl.current = nullptr;
        return dc == nullptr && rc == nullptr;
    }
    void* surface = dc->window->native->glSurface;
    if (!eglMakeCurrent(egl.display, surface, surface, rc->context)) {
        egl.current = nullptr;
        return false;
    }
    egl.current = rc;
    return true;
}

GlContext CurrentGlContext()
{
    return Egl().current;
}

void SwapGlBuffers(DeviceContext dc)
{
    if (!dc || !dc->window || !Egl().current || dc->window->native->glSurface == nullptr)
        return;
    WindowRecord& control = *dc->window;
    NativeWindow& gl = *control.native;
    ++gl.glFrames;
    const int width = std::min(control.width, gl.glWidth);
    const int height = std::min(control.height, gl.glHeight);
    if (width <= 0 || height <= 0)
        return;
    // The picture arrives bottom row first; the control's buffer is top row first.
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width) * height * 4);
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, gl.glHeight - height, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* source =
            rgba.data() + static_cast<std::size_t>(height - 1 - y) * width * 4;
        std::uint32_t* target = control.pixels.data() + static_cast<std::size_t>(y) * control.width;
        for (int x = 0; x < width; ++x)
            target[x] = Rgb(source[4 * x], source[4 * x + 1], source[4 * x + 2]);
    }
}

int HeadlessGlFrames(Window control)
{
    return control ? control->native->glFrames : 0;
}

void DeleteGlContext(GlContext rc)
{
    if (!rc)
        return;
    EglWorld& egl = Egl();
    if (egl.current == rc)
        MakeGlCurrent(nullptr, nullptr);
    // The first context stays alive while others share with it; deleting it only forgets it.
    if (rc->context != egl.shareContext)
        eglDestroyContext(egl.display, rc->context);
    delete rc;
}
