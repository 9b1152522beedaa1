// Test helpers for views drawn with OpenGL on the headless platform, and for reading them back.
#pragma once

#include "app/state.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

// Makes a control of the given size on a fresh window and sets up its surface with a context;
// returns the control. The surface's dc, rc, width and height are filled in.
Window MakeGlSurface(GlSurface& surface, int width, int height);

// The colour channels of a 0x00RRGGBB pixel, and the sum of the channel differences of two.
inline constexpr auto RedOf = [](std::uint32_t p) { return static_cast<int>((p >> 16) & 0xFF); };
inline constexpr auto GreenOf = [](std::uint32_t p) { return static_cast<int>((p >> 8) & 0xFF); };
inline constexpr auto BlueOf = [](std::uint32_t p) { return static_cast<int>(p & 0xFF); };
inline int ColourDistance(std::uint32_t a, std::uint32_t b)
{
    return std::abs(RedOf(a) - RedOf(b)) + std::abs(GreenOf(a) - GreenOf(b)) +
           std::abs(BlueOf(a) - BlueOf(b));
}

// The bounding box of the pixels of a control that differ from the background colour.
struct InkBox {
    int left = 0, top = 0, right = -1, bottom = -1;  // inclusive; empty when right < left
    int pixels = 0;
    bool empty() const { return right < left; }
};
InkBox FindInk(Window control, std::uint32_t background);

// The pixel column (row, counted from the top) nearest to a normalised x (y) in a view, and the
// normalised coordinates of a pixel's centre.
inline constexpr auto PixelColumn = [](double ndcX, int width) {
    return static_cast<int>(std::floor((ndcX + 1.0) / 2.0 * width));
};
inline constexpr auto PixelRow = [](double ndcY, int height) {
    return static_cast<int>(std::floor((1.0 - ndcY) / 2.0 * height));
};
inline constexpr auto CentreX = [](int column, int width) {
    return (column + 0.5) / width * 2 - 1;
};
inline constexpr auto CentreY = [](int row, int height) { return 1 - (row + 0.5) / height * 2; };

// The card atlas pixel at (x, y), counted from the top-left of the picture, as 0x00RRGGBB.
std::uint32_t AtlasPixel(int x, int y);
