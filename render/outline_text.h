// Text drawn as filled glyph outlines: one display list per character code 0..254 per font,
// set up once per rendering context, measured with the glyph metrics and drawn at the origin of
// the current model-view matrix in the current colour. Units: the font's em height is 1.0.
#pragma once

#include "platform/font.h"
#include "platform/gl.h"

#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

// Alignment and effect flags of DrawOutlineText. Horizontal flags are tested in the order
// left, centre, right and vertical ones in the order top, middle, baseline; the first set wins.
enum TextAlign : std::uint8_t {
    AlignLeft = 1,
    AlignCenter = 2,
    AlignRight = 4,
    AlignTop = 8,
    AlignMiddle = 16,
    AlignBaseline = 32,
    TextShadow = 64,
};

// The metrics of one character, in em units.
struct GlyphMetricsFloat {
    float blackBoxX = 0;     // width of the ink box
    float blackBoxY = 0;     // height of the ink box; the largest over a string is its height
    float glyphOriginX = 0;  // left edge of the ink box from the origin
    float glyphOriginY = 0;  // top edge of the ink box from the baseline
    float cellIncX = 0;      // horizontal advance; the sum over a string is its width
    float cellIncY = 0;      // vertical advance (0)
};

// The first display list of each context's font, by rendering context (as a number).
extern std::map<std::uintptr_t, std::uint32_t> fontListBases;

// The list base of a context without a font: no list is reached from it.
inline constexpr std::uint32_t NoFontListBase = 0xFFFFFFFF;

// The first display list of the font of context `rc`, or NoFontListBase when it has none.
std::uint32_t FontListBaseOf(GlContext rc);

// The metrics of codes 0..255 (Windows-1252); entry 255 stays zero.
extern GlyphMetricsFloat glyphMetrics[256];

// Builds the outline font into the context: 256 display lists, of which codes 0..254 hold
// glyphs. The height is the requested cell height; the outlines are normalised to em = 1
// whatever it is. Returns false, after the message "Could not set up OpenGL font outlines"
// (caption "Font setup error"), when no outline font can be loaded.
bool SetupOutlineFont(DeviceContext dc, GlContext rc, int height);

// Draws the Windows-1252 string at the origin of the current model-view matrix, scaled, aligned
// by the flags, in the current colour, into the current context. An empty string changes no
// OpenGL state; the matrix is the same afterwards.
void DrawOutlineText(std::string_view text, float scaleX, float scaleY, std::uint8_t flags);

// DrawOutlineText with one scale for both directions.
void DrawOutlineTextScaled(std::string_view text, float scale, std::uint8_t flags);

// The width and height of a string in em units, before scaling.
float OutlineTextWidth(std::string_view text);
float OutlineTextHeight(std::string_view text);

// The filled area of a glyph as triangles (x, y pairs in em units, three points each, every
// triangle counter-clockwise): its contours tessellated with the non-zero winding rule, so the
// holes of letters such as 'o' stay open. Empty for a glyph without contours.
std::vector<float> TessellateGlyph(const GlyphOutline& glyph);
