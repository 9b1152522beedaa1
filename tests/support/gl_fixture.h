// Test helpers for views drawn with OpenGL on the headless platform.
#pragma once

#include "app/state.h"

#include <cstdint>

// Makes a control of the given size on a fresh window and sets up its surface with a context;
// returns the control. The surface's dc, rc, width and height are filled in.
Window MakeGlSurface(GlSurface& surface, int width, int height);

// The colour channels of a 0x00RRGGBB pixel.
inline int RedOf(std::uint32_t p)
{
    return static_cast<int>((p >> 16) & 0xFF);
}
inline int GreenOf(std::uint32_t p)
{
    return static_cast<int>((p >> 8) & 0xFF);
}
inline int BlueOf(std::uint32_t p)
{
    return static_cast<int>(p & 0xFF);
}

// The bounding box of the pixels of a control that differ from the background colour.
struct InkBox {
    int left = 0, top = 0, right = -1, bottom = -1;  // inclusive; empty when right < left
    int pixels = 0;
    bool empty() const { return right < left; }
};
InkBox FindInk(Window control, std::uint32_t background);
