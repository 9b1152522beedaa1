#include "tests/support/view_pixels.h"

#include "platform/platform.h"
#include "resources/card_atlas.h"

std::uint32_t AtlasPixel(int x, int y)
{
    const std::size_t row = static_cast<std::size_t>(CardAtlasHeight - 1 - y);  // bottom-up BMP
    const std::size_t rowBytes = (static_cast<std::size_t>(CardAtlasWidth) * 3 + 3) & ~3u;
    const std::uint8_t* p =
        CardAtlasResource().data() + 40 + row * rowBytes + static_cast<std::size_t>(x) * 3;
    return Rgb(p[2], p[1], p[0]);
}
