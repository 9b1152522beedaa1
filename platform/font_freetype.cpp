// Glyph outlines through fontconfig and FreeType.
//
// The font is found by name: "Arial:bold" first (Liberation Sans Bold answers it on a Debian
// machine), then "sans:bold". Glyphs are read unscaled and unhinted in font units and divided by
// the units per em, so that the em is 1.0 whatever size the text is drawn at. Conic and cubic
// segments are flattened into lines with a fixed tolerance in em units.
#include "platform/font.h"

#include "platform/font_testing.h"
#include "platform/windows1252.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BBOX_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

bool failNextLoad = false;  // set by FailNextOutlineFontLoad, cleared by the next load

// ---------------------------------------------------------------------------------------------
// Flattening
// ---------------------------------------------------------------------------------------------

// The largest distance, in em units, between a curve and the lines that replace it: a
// thousandth of the em is a tenth of a pixel for text 100 pixels high.
constexpr double FlatteningTolerance = 0.001;
constexpr int MaxSegmentsPerCurve = 64;

// Collects the contours of one glyph while FreeType walks its outline. Coordinates arrive in
// font units; `unit` turns them into em units.
struct OutlineWalk {
    GlyphOutline* glyph = nullptr;
    double unit = 0;       // 1 / units per em
    double tolerance = 0;  // FlatteningTolerance in font units
    double x = 0;          // the pen, font units
    double y = 0;

    void Add(double px, double py)
    {
        std::vector<OutlinePoint>& contour = glyph->contours.back();
        const OutlinePoint point{static_cast<float>(px * unit), static_cast<float>(py * unit)};
        // Repeated points make zero-length edges, which the tessellator does not need.
        if (contour.empty() || contour.back().x != point.x || contour.back().y != point.y)
            contour.push_back(point);
        x = px;
        y = py;
    }
};

// The number of equal steps in t that keep a curve within the tolerance of its chords. A
// polynomial curve with second derivative bounded by D departs from the chord of a step h by at
// most D h^2 / 8; `bend` is that bound D.
int SegmentsFor(double bend, double tolerance)
{
    const double steps = std::ceil(std::sqrt(bend / (8 * tolerance)));
    return std::clamp(static_cast<int>(steps), 1, MaxSegmentsPerCurve);
}

OutlineWalk& Walk(void* user)
{
    return *static_cast<OutlineWalk*>(user);
}

int MoveTo(const FT_Vector* to, void* user)
{
    OutlineWalk& walk = Walk(user);
    walk.glyph->contours.emplace_back();
    walk.Add(static_cast<double>(to->x), static_cast<double>(to->y));
    return 0;
}

int LineTo(const FT_Vector* to, void* user)
{
    Walk(user).Add(static_cast<double>(to->x), static_cast<double>(to->y));
    return 0;
}

int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user)
{
    OutlineWalk& walk = Walk(user);
    const double x0 = walk.x, y0 = walk.y;
    const double x1 = static_cast<double>(control->x), y1 = static_cast<double>(control->y);
    const double x2 = static_cast<double>(to->x), y2 = static_cast<double>(to->y);
    // B'' = 2 (P0 - 2 P1 + P2), constant along the curve.
    const double bend = 2 * std::hypot(x0 - 2 * x1 + x2, y0 - 2 * y1 + y2);
    const int n = SegmentsFor(bend, walk.tolerance);
    for (int i = 1; i < n; ++i) {
        const double t = static_cast<double>(i) / n, s = 1 - t;
        walk.Add(s * s * x0 + 2 * s * t * x1 + t * t * x2,
                 s * s * y0 + 2 * s * t * y1 + t * t * y2);
    }
    walk.Add(x2, y2);
    return 0;
}

int CubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to, void* user)
{
    OutlineWalk& walk = Walk(user);
    const double x0 = walk.x, y0 = walk.y;
    const double x1 = static_cast<double>(control1->x), y1 = static_cast<double>(control1->y);
    const double x2 = static_cast<double>(control2->x), y2 = static_cast<double>(control2->y);
    const double x3 = static_cast<double>(to->x), y3 = static_cast<double>(to->y);
    // B'' is linear in t between 6 (P0 - 2 P1 + P2) and 6 (P1 - 2 P2 + P3).
    const double bend = 6 * std::max(std::hypot(x0 - 2 * x1 + x2, y0 - 2 * y1 + y2),
                                     std::hypot(x1 - 2 * x2 + x3, y1 - 2 * y2 + y3));
    const int n = SegmentsFor(bend, walk.tolerance);
    for (int i = 1; i < n; ++i) {
        const double t = static_cast<double>(i) / n, s = 1 - t;
        const double a = s * s * s, b = 3 * s * s * t, c = 3 * s * t * t, d = t * t * t;
        walk.Add(a * x0 + b * x1 + c * x2 + d * x3, a * y0 + b * y1 + c * y2 + d * y3);
    }
    walk.Add(x3, y3);
    return 0;
}

// Drops the point that closes each contour onto its start (the contours are closed by
// definition) and contours too small to enclose anything.
void TidyContours(GlyphOutline& glyph)
{
    for (std::vector<OutlinePoint>& contour : glyph.contours) {
        if (contour.size() > 1 && contour.back().x == contour.front().x &&
            contour.back().y == contour.front().y)
            contour.pop_back();
    }
    std::erase_if(glyph.contours, [](const auto& contour) { return contour.size() < 3; });
}

// ---------------------------------------------------------------------------------------------
// Finding and reading the font
// ---------------------------------------------------------------------------------------------

struct FontFile {
    std::string path;
    int index = 0;  // face index within the file
};

// The file that fontconfig chooses for a pattern; an empty path when it chooses none.
FontFile MatchFont(FcConfig* config, const char* name)
{
    FontFile file;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(name));
    if (!pattern)
        return file;
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match)
        return file;
    FcChar8* path = nullptr;
    int index = 0;
    if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path) {
        file.path = reinterpret_cast<const char*>(path);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch)
            file.index = index;
    }
    FcPatternDestroy(match);
    return file;
}

// Reads one glyph: its flattened contours in em units, advance and exact ink box. Characters
// the face lacks, and the undefined codes, get the face's missing-character glyph. Returns
// false when FreeType cannot load the glyph or it is not an outline.
bool ReadGlyph(FT_Face face, unsigned char code, GlyphOutline& glyph)
{
    const char32_t codePoint = Windows1252ToUnicode(code);
    const FT_UInt index = FT_Get_Char_Index(face, codePoint);  // 0, the missing glyph, if none
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP))
        return false;
    const FT_GlyphSlot slot = face->glyph;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE)
        return false;

    const double unit = 1.0 / face->units_per_EM;
    glyph.advance = static_cast<float>(static_cast<double>(slot->advance.x) * unit);
    if (slot->outline.n_points > 0) {
        FT_BBox box{};
        FT_Outline_Get_BBox(&slot->outline, &box);
        glyph.inkLeft = static_cast<float>(static_cast<double>(box.xMin) * unit);
        glyph.inkTop = static_cast<float>(static_cast<double>(box.yMax) * unit);
        glyph.inkWidth = static_cast<float>(static_cast<double>(box.xMax - box.xMin) * unit);
        glyph.inkHeight = static_cast<float>(static_cast<double>(box.yMax - box.yMin) * unit);
    }

    static const FT_Outline_Funcs walker = {MoveTo, LineTo, ConicTo, CubicTo, 0, 0};
    OutlineWalk walk;
    walk.glyph = &glyph;
    walk.unit = unit;
    walk.tolerance = FlatteningTolerance * face->units_per_EM;
    if (FT_Outline_Decompose(&slot->outline, &walker, &walk))
        return false;
    TidyContours(glyph);
    return true;
}

// Reads codes 0..254 from one font file into `font`; false if any step fails.
bool ReadFont(FT_Library library, const FontFile& file, OutlineFont& font)
{
    FT_Face face = nullptr;
    if (file.path.empty() || FT_New_Face(library, file.path.c_str(), file.index, &face))
        return false;
    bool ok = FT_IS_SCALABLE(face) && face->units_per_EM > 0;
    for (int code = 0; ok && code < 255; ++code)
        ok = ReadGlyph(face, static_cast<unsigned char>(code), font[code]);
    FT_Done_Face(face);
    return ok;
}

}  // namespace

bool LoadOutlineFont(OutlineFont& font)
{
    font = {};
    if (failNextLoad) {
        failNextLoad = false;
        return false;
    }
    // A configuration of our own rather than fontconfig's global one, which the toolkit uses
    // too: it is released completely afterwards (FcInit's global state never is).
    FcConfig* config = FcInitLoadConfigAndFonts();
    FT_Library library = nullptr;
    if (!config || FT_Init_FreeType(&library)) {
        if (config)
            FcConfigDestroy(config);
        return false;
    }
    bool loaded = false;
    for (const char* name : {"Arial:bold", "sans:bold"}) {
        loaded = ReadFont(library, MatchFont(config, name), font);
        if (loaded)
            break;
        font = {};
    }
    FT_Done_FreeType(library);
    FcConfigDestroy(config);
    return loaded;
}

void FailNextOutlineFontLoad()
{
    failNextLoad = true;
}
