// Helpers for reading back views drawn in normalised device coordinates.
#pragma once

#include <cstdint>

// The pixel column whose centre lies nearest to a normalised x in a view of the width, and the
// pixel row (counted from the top) nearest to a normalised y in a view of the height.
int PixelColumn(double ndcX, int width);
int PixelRow(double ndcY, int height);

// The normalised coordinates of a pixel's centre.
double CentreX(int column, int width);
double CentreY(int row, int height);

// The card atlas pixel at (x, y), counted from the top-left of the picture, as 0x00RRGGBB.
std::uint32_t AtlasPixel(int x, int y);

// The sum of the channel differences of two 0x00RRGGBB pixels.
int ColourDistance(std::uint32_t a, std::uint32_t b);
