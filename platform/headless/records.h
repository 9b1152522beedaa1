// The records behind the headless platform's handles, shared by its source files.
#pragma once

#include "platform/headless/headless.h"
#include "resources/dialog_templates.h"

#include <memory>
#include <string>
#include <vector>

// Destroys a pbuffer made for a control (defined with the OpenGL part).
void DestroyHeadlessGlSurface(void* surface);

struct DeviceContextRecord {
    WindowRecord* control = nullptr;
    Pen pen;
    Brush brush;
    // OpenGL: the pbuffer that stands in for the control's window, made with the chosen
    // pixel format and remade when the control's size changes.
    int pixelFormat = 0;
    void* glSurface = nullptr;  // EGLSurface
    int glWidth = 0;
    int glHeight = 0;
    int glFrames = 0;            // SwapGlBuffers calls that showed a frame
    void (*redraw)() = nullptr;  // the view's routine, run when a test exposes the surface

    DeviceContextRecord() = default;
    DeviceContextRecord(const DeviceContextRecord&) = delete;
    DeviceContextRecord& operator=(const DeviceContextRecord&) = delete;
    ~DeviceContextRecord() { DestroyHeadlessGlSurface(glSurface); }
};

struct WindowRecord {
    WindowProc proc = nullptr;
    WindowRecord* parent = nullptr;  // the dialog of a control
    WindowRecord* owner = nullptr;   // the owner of a top-level window or dialog
    int id = 0;                      // control id, or the template id of a dialog
    ControlKind kind = ControlKind::BlackFrame;
    bool tabStop = false;
    bool isDialog = false;
    int x = 0;  // client rectangle: a control's in its dialog's client pixels, a top-level
    int y = 0;  // window's client origin on the screen
    int width = 0;
    int height = 0;
    std::string text;
    bool checked = false;
    bool enabled = true;
    bool visible = false;
    int paintRequests = 0;
    bool paintPending = false;
    ScrollInfo scroll;
    bool modalRunning = false;
    bool modalEnded = false;
    int modalResult = 0;
    std::vector<std::uint32_t> pixels;  // width * height, row 0 at the top
    DeviceContextRecord dc;             // one per control, reused by every GetDeviceContext
    int deviceContexts = 0;             // GetDeviceContext calls on this control
    std::vector<std::unique_ptr<WindowRecord>> children;
    std::vector<int> timers;  // ids of the running timers
    bool destroyed = false;
};

struct MenuRecord {
    std::vector<HeadlessMenuItem> items;
};
