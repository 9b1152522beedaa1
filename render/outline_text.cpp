// Outline text: glyphs loaded once per process, tessellated into triangles once, and compiled
// into display lists for each context that draws text. Each character's list fills the glyph
// and then moves the model-view origin by its advance, so glCallLists over a string lays it out.
#include "render/outline_text.h"

#include "render/gl_surface.h"
#include "render/outline_text_testing.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <array>
#include <climits>
#include <deque>
#include <memory>

std::map<std::uintptr_t, std::uint32_t> fontListBases;
GlyphMetricsFloat glyphMetrics[256];

std::uint32_t FontListBaseOf(GlContext rc)
{
    const auto found = fontListBases.find(reinterpret_cast<std::uintptr_t>(rc));
    return found == fontListBases.end() ? NoFontListBase : found->second;
}

namespace {

// The font as every context needs it: triangles and metrics of codes 0..254.
struct PreparedFont {
    std::array<std::vector<float>, 255> triangles;
    std::array<GlyphMetricsFloat, 255> metrics;
};

std::unique_ptr<PreparedFont> preparedFont;  // made by the first successful set-up

// ---------------------------------------------------------------------------------------------
// Tessellation
// ---------------------------------------------------------------------------------------------

using TessPoint = std::array<GLdouble, 3>;

// What the tessellator's callbacks write to while one glyph is tessellated.
struct Tessellation {
    std::vector<float>* triangles = nullptr;
    std::deque<TessPoint> combined;  // points made at crossings; GLU keeps pointers to them
    bool failed = false;
};

void TessBegin(GLenum, void*) {}

// Having an edge-flag callback makes GLU emit separate triangles only (no fans or strips).
void TessEdgeFlag(GLboolean, void*) {}

void TessVertex(void* vertex, void* data)
{
    const TessPoint& point = *static_cast<const TessPoint*>(vertex);
    std::vector<float>& triangles = *static_cast<Tessellation*>(data)->triangles;
    triangles.push_back(static_cast<float>(point[0]));
    triangles.push_back(static_cast<float>(point[1]));
}

void TessCombine(GLdouble coords[3], void* [4], GLfloat[4], void** out, void* data)
{
    Tessellation& tess = *static_cast<Tessellation*>(data);
    tess.combined.push_back({coords[0], coords[1], coords[2]});
    *out = &tess.combined.back();
}

void TessEnd(void*) {}

void TessError(GLenum, void* data)
{
    static_cast<Tessellation*>(data)->failed = true;
}

template <typename Callback> void SetCallback(GLUtesselator* tess, GLenum which, Callback* callback)
{
    gluTessCallback(tess, which, reinterpret_cast<_GLUfuncptr>(callback));
}

// Makes every triangle counter-clockwise and drops those without area. GLU's winding follows
// the contours' direction, and TrueType draws outer contours clockwise.
void OrientTriangles(std::vector<float>& triangles)
{
    std::size_t kept = 0;
    for (std::size_t i = 0; i + 6 <= triangles.size(); i += 6) {
        float* t = &triangles[i];
        const float twiceArea = (t[2] - t[0]) * (t[5] - t[1]) - (t[4] - t[0]) * (t[3] - t[1]);
        if (twiceArea == 0)
            continue;
        if (twiceArea < 0) {
            std::swap(t[2], t[4]);
            std::swap(t[3], t[5]);
        }
        if (kept != i)
            std::copy(t, t + 6, triangles.begin() + static_cast<std::ptrdiff_t>(kept));
        kept += 6;
    }
    triangles.resize(kept);
}

// ---------------------------------------------------------------------------------------------
// Loading once
// ---------------------------------------------------------------------------------------------

// Loads and tessellates the font the first time it is needed; null when it cannot be loaded.
// A failure is not remembered, so a later set-up tries again.
const PreparedFont* PrepareFont()
{
    if (preparedFont)
        return preparedFont.get();
    auto outlines = std::make_unique<OutlineFont>();
    if (!LoadOutlineFont(*outlines))
        return nullptr;
    auto font = std::make_unique<PreparedFont>();
    for (std::size_t code = 0; code < outlines->size(); ++code) {
        const GlyphOutline& glyph = (*outlines)[code];
        font->triangles[code] = TessellateGlyph(glyph);
        font->metrics[code] = {glyph.inkWidth, glyph.inkHeight, glyph.inkLeft,
                               glyph.inkTop,   glyph.advance,   0};
    }
    preparedFont = std::move(font);
    return preparedFont.get();
}

// Compiles list base + code for codes 0..254: the glyph's triangles, then its advance.
void CompileFontLists(const PreparedFont& font, GLuint base)
{
    for (std::size_t code = 0; code < font.triangles.size(); ++code) {
        const std::vector<float>& triangles = font.triangles[code];
        glNewList(base + static_cast<GLuint>(code), GL_COMPILE);
        if (!triangles.empty()) {
            glBegin(GL_TRIANGLES);
            for (std::size_t i = 0; i + 1 < triangles.size(); i += 2)
                glVertex2f(triangles[i], triangles[i + 1]);
            glEnd();
        }
        glTranslatef(font.metrics[code].cellIncX, 0, 0);
        glEndList();
    }
}

}  // namespace

std::vector<float> TessellateGlyph(const GlyphOutline& glyph)
{
    std::vector<float> triangles;
    if (glyph.contours.empty())
        return triangles;

    // GLU reads the points when the polygon ends, so they stay in one block until then.
    std::size_t count = 0;
    for (const auto& contour : glyph.contours)
        count += contour.size();
    std::vector<TessPoint> points;
    points.reserve(count);

    Tessellation state;
    state.triangles = &triangles;
    GLUtesselator* tess = gluNewTess();
    if (!tess)
        return triangles;
    SetCallback(tess, GLU_TESS_BEGIN_DATA, &TessBegin);
    SetCallback(tess, GLU_TESS_EDGE_FLAG_DATA, &TessEdgeFlag);
    SetCallback(tess, GLU_TESS_VERTEX_DATA, &TessVertex);
    SetCallback(tess, GLU_TESS_COMBINE_DATA, &TessCombine);
    SetCallback(tess, GLU_TESS_END_DATA, &TessEnd);
    SetCallback(tess, GLU_TESS_ERROR_DATA, &TessError);
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    gluTessNormal(tess, 0, 0, 1);

    gluTessBeginPolygon(tess, &state);
    for (const auto& contour : glyph.contours) {
        gluTessBeginContour(tess);
        for (const OutlinePoint& p : contour) {
            points.push_back({p.x, p.y, 0});
            gluTessVertex(tess, points.back().data(), &points.back());
        }
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
    gluDeleteTess(tess);

    if (state.failed)
        triangles.clear();
    OrientTriangles(triangles);
    return triangles;
}

void ForgetLoadedOutlineFont()
{
    preparedFont.reset();
}

bool SetupOutlineFont(DeviceContext dc, GlContext rc, int /*height: em is 1.0 regardless*/)
{
    const PreparedFont* font = nullptr;
    GLuint base = 0;
    if (MakeGlCurrent(dc, rc)) {
        base = glGenLists(256);
        if (base != 0) {
            fontListBases[reinterpret_cast<std::uintptr_t>(rc)] = base;
            font = PrepareFont();
        }
    }
    if (!font) {
        ShowMessageBox(glOwnerWindow, "Could not set up OpenGL font outlines", "Font setup error",
                       MessageBoxButtons::Ok);
        MakeGlCurrent(nullptr, nullptr);
        return false;
    }
    CompileFontLists(*font, base);
    std::copy(font->metrics.begin(), font->metrics.end(), glyphMetrics);
    MakeGlCurrent(nullptr, nullptr);
    return true;
}

float OutlineTextWidth(std::string_view text)
{
    float width = 0;
    for (const char c : text)
        width += glyphMetrics[static_cast<unsigned char>(c)].cellIncX;
    return width;
}

float OutlineTextHeight(std::string_view text)
{
    float height = 0;
    for (const char c : text)
        height = std::max(height, glyphMetrics[static_cast<unsigned char>(c)].blackBoxY);
    return height;
}

void DrawOutlineText(std::string_view text, float scaleX, float scaleY, std::uint8_t flags)
{
    if (text.empty())
        return;
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glPushMatrix();

    const float width = OutlineTextWidth(text) * scaleX;
    const float height = OutlineTextHeight(text) * scaleY;
    if (flags & AlignLeft) {
        // starts at the origin
    } else if (flags & AlignCenter) {
        glTranslatef(-width / 2, 0, 0);
    } else if (flags & AlignRight) {
        glTranslatef(-width, 0, 0);
    }
    if (flags & AlignTop) {
        glTranslatef(0, -height, 0);
    } else if (flags & AlignMiddle) {
        glTranslatef(0, -height / 2, 0);
    }  // AlignBaseline, or no flag: the baseline stays on the origin
    glScalef(scaleX, scaleY, 1);

    // All contexts share one list namespace, so an offset from the unused base 0xFFFFFFFF would
    // wrap round onto real lists: a context without a font calls no lists at all.
    const std::uint32_t base = FontListBaseOf(CurrentGlContext());
    const bool hasFont = base != NoFontListBase;
    glListBase(base);
    const auto length = static_cast<GLsizei>(std::min<std::size_t>(text.size(), INT_MAX));
    if (hasFont && (flags & TextShadow)) {
        glPushMatrix();
        glTranslatef(0.08f, -0.08f, 0);  // em units: the scale is already applied
        GLfloat colour[4];
        glGetFloatv(GL_CURRENT_COLOR, colour);
        glColor4f(0.2f, 0.2f, 0.2f, 0.7f);
        glCallLists(length, GL_UNSIGNED_BYTE, text.data());
        glColor4fv(colour);
        glPopMatrix();
    }
    if (hasFont)
        glCallLists(length, GL_UNSIGNED_BYTE, text.data());

    glFrontFace(GL_CCW);
    glPopMatrix();
}

void DrawOutlineTextScaled(std::string_view text, float scale, std::uint8_t flags)
{
    DrawOutlineText(text, scale, scale, flags);
}
