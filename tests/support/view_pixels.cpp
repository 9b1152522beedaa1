#include "tests/support/view_pixels.h"

#include "platform/platform.h"
#include "resources/card_atlas.h"

#include <cmath>
#include <cstdlib>

int PixelColumn(double ndcX, int width)
{
    return static_cast<int>(std::floor((ndcX + 1.0) / 2.0 * width));
}

int PixelRow(double ndcY, int height)
{
    return static_cast<int>(std::floor((1.0 - ndcY) / 2.0 * height));
}

double CentreX(int column, int width)
{
    return (column + 0.5) / width * 2.0 - 1.0;
}

double CentreY(int row, int height)
{
    return 1.0 - (row + 0.5) / height * 2.0;
}

std::uint32_t AtlasPixel(int x, int y)
{
    const auto bytes = CardAtlasResource();
    const std::size_t row = static_cast<std::size_t>(CardAtlasHeight - 1 - y);
    const std::size_t rowBytes = (static_cast<std::size_t>(CardAtlasWidth) * 3 + 3) & ~3u;
    const std::uint8_t* p = bytes.data() + 40 + row * rowBytes + static_cast<std::size_t>(x) * 3;
    return Rgb(p[2], p[1], p[0]);
}

int ColourDistance(std::uint32_t a, std::uint32_t b)
{
    auto channel = [](std::uint32_t p, int shift) { return static_cast<int>((p >> shift) & 0xFF); };
    return std::abs(channel(a, 16) - channel(b, 16)) + std::abs(channel(a, 8) - channel(b, 8)) +
           std::abs(channel(a, 0) - channel(b, 0));
}
