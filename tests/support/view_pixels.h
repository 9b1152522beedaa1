// Reading back views drawn in normalised device coordinates (colour channels: gl_fixture.h).
#pragma once

#include "tests/support/gl_fixture.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

// The pixel column (row, counted from the top) nearest to a normalised x (y) in a view.
inline int PixelColumn(double ndcX, int width)
{
    return static_cast<int>(std::floor((ndcX + 1.0) / 2.0 * width));
}
inline int PixelRow(double ndcY, int height)
{
    return static_cast<int>(std::floor((1.0 - ndcY) / 2.0 * height));
}

// The normalised coordinates of a pixel's centre.
inline double CentreX(int column, int width)
{
    return (column + 0.5) / width * 2.0 - 1.0;
}
inline double CentreY(int row, int height)
{
    return 1.0 - (row + 0.5) / height * 2.0;
}

// The card atlas pixel at (x, y), counted from the top-left of the picture, as 0x00RRGGBB.
std::uint32_t AtlasPixel(int x, int y);

// The sum of the channel differences of two 0x00RRGGBB pixels.
inline int ColourDistance(std::uint32_t a, std::uint32_t b)
{
    return std::abs(RedOf(a) - RedOf(b)) + std::abs(GreenOf(a) - GreenOf(b)) +
           std::abs(BlueOf(a) - BlueOf(b));
}
