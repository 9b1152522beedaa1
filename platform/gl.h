// The OpenGL half of the platform layer: a rendering context per drawing surface, made with one
// fixed pixel format (24-bit RGB, depth, 8-bit stencil, double buffered), made current around
// every operation and released after it.
//
// A surface is addressed by the device context of its control (GetDeviceContext). All contexts
// of the program share display lists and textures, so names must always come from
// glGenLists/glGenTextures.
#pragma once

#include "platform/platform.h"

struct GlContextRecord;
using GlContext = GlContextRecord*;  // opaque; null means none

// The pixel format that suits the fixed request on the surface, 0 when there is none.
int ChooseGlPixelFormat(DeviceContext dc);

// Sets the chosen format on the surface; false on failure.
bool SetGlPixelFormat(DeviceContext dc, int format);

// A new rendering context for the surface (not made current); null on failure.
GlContext CreateGlContextFor(DeviceContext dc);

// Makes the context current on the surface; with both null, releases the current context.
// Returns false (and leaves no context current) when the surface cannot be drawn now, for
// example while its window is hidden or after it was destroyed.
bool MakeGlCurrent(DeviceContext dc, GlContext rc);

// The context current on this thread, or null.
GlContext CurrentGlContext();

// Shows what was drawn on the surface.
void SwapGlBuffers(DeviceContext dc);

// Deletes the context; a null context is ignored. Releases it first when it is current.
void DeleteGlContext(GlContext rc);

// Has the toolkit call `redraw` whenever it needs the surface's picture again (when the window
// is mapped or uncovered); the routine redraws the view from the program's state, following
// the frame protocol itself. Null removes it.
void SetGlRedrawRoutine(DeviceContext dc, void (*redraw)());
