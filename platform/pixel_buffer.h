// GDI's rectangle on a control's pixel buffer, shared by both implementations of the platform.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

// Draws the rectangle into a buffer of width * height pixels (0x00RRGGBB, top row first): the
// outline in the pen's colour, the inside in the brush's, covering columns left..right-1 and
// rows top..bottom-1, clipped to the buffer. An empty or inverted rectangle draws nothing.
inline void FillGdiRectangle(std::vector<std::uint32_t>& pixels, int width, int height,
                             std::uint32_t pen, std::uint32_t brush, int left, int top, int right,
                             int bottom)
{
    if (right <= left || bottom <= top ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return;
    const int x0 = std::max(left, 0);
    const int x1 = std::min(right, width);
    if (x0 >= x1)
        return;
    for (int y = std::max(top, 0); y < std::min(bottom, height); ++y) {
        std::uint32_t* row = pixels.data() + static_cast<std::size_t>(y) * width;
        if (y == top || y == bottom - 1) {
            std::fill(row + x0, row + x1, pen);
            continue;
        }
        std::fill(row + x0, row + x1, brush);
        if (left == x0)
            row[left] = pen;
        if (right - 1 < x1)
            row[right - 1] = pen;
    }
}
