#include "tests/support/picture_dump.h"

#include "platform/headless/headless.h"

#include <cstdlib>
#include <fstream>
#include <string>

void SavePictureIfAsked(Window control, std::string_view name)
{
    const char* directory = std::getenv("TABLEWISE_PICTURES");
    if (!directory || !*directory || !control)
        return;
    const ClientSize size = WindowClientSize(control);
    std::ofstream out(std::string(directory) + "/" + std::string(name) + ".ppm", std::ios::binary);
    out << "P6\n" << size.width << ' ' << size.height << "\n255\n";
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x) {
            const std::uint32_t p = HeadlessPixel(control, x, y);
            const char rgb[3] = {static_cast<char>((p >> 16) & 0xFF),
                                 static_cast<char>((p >> 8) & 0xFF), static_cast<char>(p & 0xFF)};
            out.write(rgb, 3);
        }
}
