// The headless platform's own part of a window record, shared by its source files.
#pragma once

#include "platform/headless/headless.h"
#include "platform/window_model.h"

// Destroys a pbuffer made for a control (defined with the OpenGL part).
void DestroyHeadlessGlSurface(void* surface);

struct NativeWindow {
    bool visible = false;
    int paintRequests = 0;
    int pictureChanges = 0;  // GDI rectangles drawn into the buffer and scroll bar changes
    // OpenGL: the pbuffer that stands in for the control's window, made with the chosen
    // pixel format and remade when the control's size changes.
    void* glSurface = nullptr;  // EGLSurface
    int glWidth = 0;
    int glHeight = 0;
    int glFrames = 0;  // SwapGlBuffers calls that showed a frame

    NativeWindow() = default;
    NativeWindow(const NativeWindow&) = delete;
    NativeWindow& operator=(const NativeWindow&) = delete;
    ~NativeWindow() { DestroyHeadlessGlSurface(glSurface); }
};
