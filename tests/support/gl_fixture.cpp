#include "tests/support/gl_fixture.h"

#include "platform/headless/headless.h"
#include "render/gl_surface.h"
#include "resources/card_atlas.h"

#include <algorithm>

Window MakeGlSurface(GlSurface& surface, int width, int height)
{
    Window host = HeadlessCreateWindow(nullptr, width + 10, height + 10);
    Window control = HeadlessAddControl(host, 1, 0, 0, width, height);
    surface.dc = GetDeviceContext(control);
    surface.rc = CreateGlContext(surface.dc);
    surface.width = width;
    surface.height = height;
    return control;
}

InkBox FindInk(Window control, std::uint32_t background)
{
    InkBox box{1 << 30, 1 << 30, -1, -1, 0};
    const ClientSize size = WindowClientSize(control);
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x)
            if (HeadlessPixel(control, x, y) != background) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
                ++box.pixels;
            }
    return box.pixels ? box : InkBox{};
}

std::uint32_t AtlasPixel(int x, int y)
{
    const std::size_t row = static_cast<std::size_t>(CardAtlasHeight - 1 - y);  // bottom-up BMP
    const std::size_t rowBytes = (static_cast<std::size_t>(CardAtlasWidth) * 3 + 3) & ~3u;
    const std::uint8_t* p =
        CardAtlasResource().data() + 40 + row * rowBytes + static_cast<std::size_t>(x) * 3;
    return Rgb(p[2], p[1], p[0]);
}
