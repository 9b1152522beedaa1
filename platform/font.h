// Glyph outlines of a TrueType font, for drawing text as filled polygons. The font is found by a
// fontconfig pattern ("Arial:bold" is answered by Liberation Sans Bold, whose widths match
// Arial's; "sans:bold" is the fallback); codes are Windows-1252 (0x80..0x9F included).
#pragma once

#include <array>
#include <vector>

struct OutlinePoint {
    float x = 0;  // em units, from the origin; y upwards from the baseline
    float y = 0;
};

struct GlyphOutline {
    std::vector<std::vector<OutlinePoint>> contours;  // closed, curves flattened into lines
    float advance = 0;                                // horizontal advance, em units
    float inkLeft = 0;                                // the exact ink box, em units
    float inkTop = 0;
    float inkWidth = 0;
    float inkHeight = 0;
};

using OutlineFont = std::array<GlyphOutline, 255>;  // codes 0..254

// Loads the bold sans outline font for codes 0..254. Returns false when no font can be found or
// read; the glyphs are then left empty.
bool LoadOutlineFont(OutlineFont& font);
