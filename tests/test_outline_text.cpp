#include "render/outline_text.h"

#include "platform/font.h"
#include "platform/headless/headless.h"
#include "render/gl_surface.h"
#include "tests/support/gl_fixture.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------------------
// Glyphs and their triangles
// ---------------------------------------------------------------------------------------------

const OutlineFont& LoadedFont()
{
    static const auto font = [] {
        auto loaded = std::make_unique<OutlineFont>();
        EXPECT_TRUE(LoadOutlineFont(*loaded));
        return loaded;
    }();
    return *font;
}

const GlyphOutline& Glyph(unsigned char code)
{
    return LoadedFont()[code];
}

// The area enclosed by the contours, counting clockwise contours negative.
double SignedArea(const GlyphOutline& glyph)
{
    double area = 0;
    for (const auto& contour : glyph.contours) {
        for (std::size_t i = 0; i < contour.size(); ++i) {
            const OutlinePoint& a = contour[i];
            const OutlinePoint& b = contour[(i + 1) % contour.size()];
            area += (static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y) / 2;
        }
    }
    return area;
}

TEST(OutlineFont, LoadsABoldSansWithTheEmAsUnit)
{
    const GlyphOutline& a = Glyph('A');
    EXPECT_GT(a.advance, 0.6f);  // Arial Bold's widths: A 0.722, space 0.278
    EXPECT_LT(a.advance, 0.8f);
    EXPECT_NEAR(a.inkHeight, 0.7f, 0.03f);       // cap height: Arial 0.716, Liberation 0.688
    EXPECT_NEAR(a.inkTop, a.inkHeight, 0.001f);  // stands on the baseline
    EXPECT_FALSE(a.contours.empty());

    const GlyphOutline& space = Glyph(' ');
    EXPECT_TRUE(space.contours.empty());
    EXPECT_NEAR(space.advance, 0.278f, 0.02f);
    EXPECT_EQ(space.inkHeight, 0);

    EXPECT_EQ(Glyph('o').contours.size(), 2u);
    EXPECT_EQ(Glyph('B').contours.size(), 3u);
    EXPECT_LT(Glyph('g').inkTop - Glyph('g').inkHeight, -0.1f);  // a descender

    // The high codes are Windows-1252: é has an accent above e, € and Ÿ have ink.
    EXPECT_GT(Glyph(0xE9).inkTop, Glyph('e').inkTop + 0.1f);
    EXPECT_NEAR(Glyph(0xE9).advance, Glyph('e').advance, 0.001f);
    EXPECT_FALSE(Glyph(0x80).contours.empty());
    EXPECT_GT(Glyph(0x9F).inkTop, Glyph('Y').inkTop);
}

TEST(OutlineFont, CurvesAreFlattenedSmoothly)
{
    // Letters without corners: many short edges, each turning only a little from the one before,
    // and no point far outside the ink box.
    for (unsigned char code : {'o', 'O', '0'}) {
        const GlyphOutline& glyph = Glyph(code);
        for (const auto& contour : glyph.contours) {
            ASSERT_GE(contour.size(), 16u) << code;
            double sharpest = 0;
            for (std::size_t i = 0; i < contour.size(); ++i) {
                const OutlinePoint& p = contour[i];
                const OutlinePoint& q = contour[(i + 1) % contour.size()];
                const OutlinePoint& r = contour[(i + 2) % contour.size()];
                const double turn = std::remainder(std::atan2(r.y - q.y, r.x - q.x) -
                                                       std::atan2(q.y - p.y, q.x - p.x),
                                                   2 * std::numbers::pi);
                sharpest = std::max(sharpest, std::abs(turn));
                EXPECT_GE(p.x, glyph.inkLeft - 1e-4f);
                EXPECT_LE(p.y, glyph.inkTop + 1e-4f);
            }
            EXPECT_LT(sharpest, 0.35) << code;  // radians, about 20 degrees
        }
    }
}

TEST(OutlineFont, TrianglesCoverTheInkAndLeaveTheHolesOpen)
{
    for (const int code :
         {int{'o'}, int{'e'}, int{'A'}, int{'B'}, int{'8'}, int{'%'}, int{'@'}, 0xE9, 0xF6}) {
        const GlyphOutline& glyph = Glyph(static_cast<unsigned char>(code));
        const std::vector<float> triangles = TessellateGlyph(glyph);
        ASSERT_EQ(triangles.size() % 6, 0u);
        double area = 0;
        for (std::size_t i = 0; i < triangles.size(); i += 6) {
            const float* t = &triangles[i];
            const double twice = (t[2] - t[0]) * (t[5] - t[1]) - (t[4] - t[0]) * (t[3] - t[1]);
            EXPECT_GT(twice, 0) << code;  // counter-clockwise, front-facing
            area += twice / 2;
        }
        // Outer contours run clockwise and holes counter-clockwise, so the ink is the negated
        // signed area; a filled-in hole would add its area on top.
        EXPECT_NEAR(area, -SignedArea(glyph), 1e-4) << code;
    }
    EXPECT_TRUE(TessellateGlyph(Glyph(' ')).empty());
}

TEST(OutlineFont, AForcedFailureLeavesTheGlyphsEmptyOnce)
{
    auto font = std::make_unique<OutlineFont>();
    (*font)['A'].advance = 1;
    FailNextOutlineFontLoad();
    EXPECT_FALSE(LoadOutlineFont(*font));
    EXPECT_EQ((*font)['A'].advance, 0);
    EXPECT_TRUE((*font)['A'].contours.empty());
    EXPECT_TRUE(LoadOutlineFont(*font));
    EXPECT_GT((*font)['A'].advance, 0);
}

// ---------------------------------------------------------------------------------------------
// Drawing on headless surfaces
// ---------------------------------------------------------------------------------------------

constexpr std::uint32_t Black = Rgb(0, 0, 0);
constexpr std::uint32_t White = Rgb(255, 255, 255);

// An area in normalised device coordinates.
struct Area {
    double left = 0, right = 0, top = 0, bottom = 0;
};

class OutlineText : public ::testing::Test {
protected:
    void SetUp() override
    {
        HeadlessReset();
        HeadlessFailGl(GlFailure::None);
        ASSERT_TRUE(HeadlessGlAvailable()) << "Mesa's surfaceless EGL display is missing";
    }

    void TearDown() override
    {
        for (GlSurface& surface : surfaces) {
            fontListBases.erase(reinterpret_cast<std::uintptr_t>(surface.rc));
            DeleteGlContext(surface.rc);
        }
        HeadlessReset();
    }

    // A surface with its font set up.
    Window MakeTextSurface(int width, int height, bool withFont = true)
    {
        surfaces.push_back({});
        Window control = MakeGlSurface(surfaces.back(), width, height);
        EXPECT_NE(surfaces.back().rc, nullptr);
        if (withFont) {
            EXPECT_TRUE(SetupOutlineFont(surfaces.back().dc, surfaces.back().rc, 24));
        }
        return control;
    }

    GlSurface& Surface() { return surfaces.back(); }

    // Draws white text on black at the model-view origin moved to (x, y), into the last surface.
    void DrawFrame(std::string_view text, float scaleX, float scaleY, std::uint8_t flags,
                   float x = 0, float y = 0)
    {
        ASSERT_TRUE(BeginFrame(Surface()));
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glColor3f(1, 1, 1);
        glTranslatef(x, y, 0);
        DrawOutlineText(text, scaleX, scaleY, flags);
        EndFrame(Surface());
    }

    // The ink box in normalised device coordinates, from the pixels' edges.
    Area MeasuredInk(Window control)
    {
        const InkBox box = FindInk(control, Black);
        EXPECT_FALSE(box.empty());
        const double w = Surface().width, h = Surface().height;
        return {box.left * 2 / w - 1, (box.right + 1) * 2 / w - 1, 1 - box.top * 2 / h,
                1 - (box.bottom + 1) * 2 / h};
    }

    // Where the ink of a string lies by the glyph metrics when its pen starts at (x, y).
    static Area ExpectedInk(std::string_view text, float scaleX, float scaleY, double x, double y)
    {
        Area ink{1e9, -1e9, -1e9, 1e9};
        for (const char c : text) {
            const GlyphMetricsFloat& m = glyphMetrics[static_cast<unsigned char>(c)];
            if (m.blackBoxX > 0) {
                ink.left = std::min(ink.left, x + m.glyphOriginX * scaleX);
                ink.right = std::max(ink.right, x + (m.glyphOriginX + m.blackBoxX) * scaleX);
                ink.top = std::max(ink.top, y + m.glyphOriginY * scaleY);
                ink.bottom = std::min(ink.bottom, y + (m.glyphOriginY - m.blackBoxY) * scaleY);
            }
            x += m.cellIncX * scaleX;
        }
        return ink;
    }

    // Expects the areas to agree within about a pixel of the last surface.
    void ExpectSameArea(const Area& measured, const Area& expected, const std::string& what)
    {
        const double pixelX = 2.0 / Surface().width, pixelY = 2.0 / Surface().height;
        EXPECT_NEAR(measured.left, expected.left, pixelX) << what;
        EXPECT_NEAR(measured.right, expected.right, pixelX) << what;
        EXPECT_NEAR(measured.top, expected.top, pixelY) << what;
        EXPECT_NEAR(measured.bottom, expected.bottom, pixelY) << what;
    }

    std::vector<GlSurface> surfaces;
};

std::array<GLfloat, 16> ModelView()
{
    std::array<GLfloat, 16> m{};
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
    return m;
}

std::array<GLfloat, 4> CurrentColour()
{
    std::array<GLfloat, 4> c{};
    glGetFloatv(GL_CURRENT_COLOR, c.data());
    return c;
}

TEST_F(OutlineText, CentredTextIsCentredBothWays)
{
    Window control = MakeTextSurface(300, 80);

    // A symmetric word without overshoot: its ink box is centred on the surface.
    DrawFrame("HIH", 0.5f, 1.0f, AlignCenter | AlignMiddle);
    const InkBox box = FindInk(control, Black);
    ASSERT_FALSE(box.empty());
    EXPECT_NEAR((box.left + box.right + 1) / 2.0, 150, 1.5);
    EXPECT_NEAR((box.top + box.bottom + 1) / 2.0, 40, 1.5);

    // A percentage as the gain view writes it: half the advance width left of the origin, half
    // the tallest ink height below it.
    const std::string text = "+20.0%";
    DrawFrame(text, 0.3f, 0.9f, AlignCenter | AlignMiddle);
    const double width = OutlineTextWidth(text) * 0.3, height = OutlineTextHeight(text) * 0.9;
    EXPECT_NEAR(width, (0.584 + 0.556 * 3 + 0.278 + 0.889) * 0.3, 0.02);  // Arial Bold's widths
    ExpectSameArea(MeasuredInk(control), ExpectedInk(text, 0.3f, 0.9f, -width / 2, -height / 2),
                   text);
}

TEST_F(OutlineText, AlignmentFlagsMoveThePenByWidthAndHeight)
{
    Window control = MakeTextSurface(300, 100);
    const std::string text = "Player 1";
    const float scale = 0.25f;
    const double width = OutlineTextWidth(text) * scale, height = OutlineTextHeight(text) * scale;
    // Flags, and where the pen starts relative to the origin (0, 0.1), in widths and heights.
    struct Case {
        std::uint8_t flags;
        double dx, dy;
    };
    const Case cases[] = {
        {AlignLeft | AlignBaseline, 0, 0},
        {0, 0, 0},
        {AlignCenter | AlignTop, -0.5, -1},
        {AlignRight | AlignMiddle, -1, -0.5},
        {AlignLeft | AlignCenter | AlignRight | AlignBaseline, 0, 0},  // the first set flag wins
        {AlignRight | AlignTop | AlignMiddle | AlignBaseline, -1, -1},
        {AlignCenter | AlignMiddle | AlignBaseline, -0.5, -0.5},
    };
    for (const Case& c : cases) {
        DrawFrame(text, scale, scale, c.flags, 0, 0.1f);
        ExpectSameArea(MeasuredInk(control),
                       ExpectedInk(text, scale, scale, c.dx * width, 0.1 + c.dy * height),
                       "flags " + std::to_string(c.flags));
    }
}

TEST_F(OutlineText, BaselineTextStartsAtTheOriginWithDescendersBelow)
{
    Window control = MakeTextSurface(300, 60);
    const float scale = 0.75f;   // the opponents view's names
    const int baselineRow = 45;  // y = -0.5 on a surface 60 high
    DrawFrame("H", scale, scale, AlignLeft | AlignBaseline, -0.9f, -0.5f);
    const InkBox h = FindInk(control, Black);
    EXPECT_EQ(h.bottom + 1, baselineRow);
    EXPECT_NEAR(h.left, (-0.9 + glyphMetrics['H'].glyphOriginX * scale + 1) * 150, 1.0);
    EXPECT_NEAR(h.top, baselineRow - glyphMetrics['H'].blackBoxY * scale * 30, 1.0);

    DrawFrame("Hy", scale, scale, AlignLeft | AlignBaseline, -0.9f, -0.5f);
    const InkBox hy = FindInk(control, Black);
    const float descent = glyphMetrics['y'].blackBoxY - glyphMetrics['y'].glyphOriginY;
    EXPECT_NEAR(hy.bottom + 1, baselineRow + descent * scale * 30, 1.0);
    EXPECT_EQ(hy.left, h.left);
}

TEST_F(OutlineText, HolesStayOpenAndGlyphsFaceForward)
{
    Window control = MakeTextSurface(120, 120);
    ASSERT_TRUE(BeginFrame(Surface()));
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 1, 1);
    glEnable(GL_CULL_FACE);  // back faces culled: every triangle must face the viewer
    DrawOutlineText("o", 3, 3, AlignCenter | AlignMiddle);
    glDisable(GL_CULL_FACE);
    EndFrame(Surface());
    const InkBox box = FindInk(control, Black);
    ASSERT_FALSE(box.empty());
    const int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
    EXPECT_EQ(HeadlessPixel(control, cx, cy), Black);  // the counter of the 'o'
    EXPECT_EQ(HeadlessPixel(control, box.left + 3, cy), White);
    EXPECT_EQ(HeadlessPixel(control, box.right - 3, cy), White);
    EXPECT_EQ(HeadlessPixel(control, cx, box.top + 3), White);
    EXPECT_EQ(HeadlessPixel(control, cx, box.bottom - 3), White);
    // The ink covers roughly what the outline encloses.
    const double enclosed = -SignedArea(Glyph('o')) * 9 * 60 * 60;
    EXPECT_NEAR(box.pixels, enclosed, enclosed * 0.05);
}

TEST_F(OutlineText, EmptyTextTouchesNoState)
{
    Window control = MakeTextSurface(60, 30);
    ASSERT_TRUE(BeginFrame(Surface()));
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glFrontFace(GL_CW);
    glListBase(7);
    glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
    glTranslatef(0.25f, 0.5f, 0);
    const auto matrix = ModelView();
    ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    DrawOutlineText("", 1, 1, AlignCenter | AlignMiddle | TextShadow);
    DrawOutlineTextScaled("", 0.75f, AlignLeft | AlignBaseline);

    GLint polygonMode[2] = {}, frontFace = 0, listBase = 0, depth = 0;
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    glGetIntegerv(GL_FRONT_FACE, &frontFace);
    glGetIntegerv(GL_LIST_BASE, &listBase);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(polygonMode[0], GL_LINE);
    EXPECT_EQ(polygonMode[1], GL_LINE);
    EXPECT_EQ(frontFace, GL_CW);
    EXPECT_EQ(listBase, 7);
    EXPECT_EQ(depth, 1);
    EXPECT_EQ(ModelView(), matrix);
    EXPECT_EQ(CurrentColour(), (std::array<GLfloat, 4>{0.1f, 0.2f, 0.3f, 0.4f}));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EndFrame(Surface());
    EXPECT_TRUE(FindInk(control, Black).empty());
}

TEST_F(OutlineText, DrawingKeepsTheMatrixAndTheColourAndFillsOutlines)
{
    Window control = MakeTextSurface(200, 60);
    ASSERT_TRUE(BeginFrame(Surface()));
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glTranslatef(-0.1f, 0.2f, 0);
    glRotatef(5, 0, 0, 1);
    const auto matrix = ModelView();
    for (std::uint8_t flags = 0; flags < 128; flags = static_cast<std::uint8_t>(flags + 9)) {
        glColor4f(0.9f, 0.6f, 0.3f, 0.25f);
        DrawOutlineText("Zo\xEB 7%", 0.2f, 0.4f, flags);
        EXPECT_EQ(ModelView(), matrix) << int{flags};
        EXPECT_EQ(CurrentColour(), (std::array<GLfloat, 4>{0.9f, 0.6f, 0.3f, 0.25f})) << int{flags};
    }
    GLint polygonMode[2] = {}, frontFace = 0, depth = 0;
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    glGetIntegerv(GL_FRONT_FACE, &frontFace);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(polygonMode[0], GL_FILL);  // text is filled whatever mode the caller left
    EXPECT_EQ(frontFace, GL_CCW);
    EXPECT_EQ(depth, 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EndFrame(Surface());

    // The shadow: grey, offset right and down, under the white text.
    DrawFrame("Player", 0.5f, 1.0f, AlignCenter | AlignMiddle | TextShadow);
    InkBox grey, white;
    grey.left = white.left = 1 << 30;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x) {
            const std::uint32_t p = HeadlessPixel(control, x, y);
            InkBox* box = p == White ? &white : p == Rgb(51, 51, 51) ? &grey : nullptr;
            ASSERT_TRUE(box || p == Black) << std::hex << p;
            if (box) {
                box->left = std::min(box->left, x);
                box->right = std::max(box->right, x);
                box->bottom = std::max(box->bottom, y);
                ++box->pixels;
            }
        }
    ASSERT_GT(grey.pixels, 0);
    // 0.08 em at 0.5 and 1.0 of a surface 200 by 60: 4 pixels right, 2.4 down.
    EXPECT_NEAR(grey.right - white.right, 4, 1);
    EXPECT_NEAR(grey.left - white.left, 4, 1);
    EXPECT_NEAR(grey.bottom - white.bottom, 2.4, 1);
}

TEST_F(OutlineText, AContextWithoutAFontDrawsNothingButKeepsTheMatrix)
{
    MakeTextSurface(60, 30);  // lists exist in the shared namespace
    Window bare = MakeTextSurface(200, 60, false);
    fontListBases.erase(reinterpret_cast<std::uintptr_t>(Surface().rc));
    ASSERT_TRUE(BeginFrame(Surface()));
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 1, 1);
    const auto matrix = ModelView();
    DrawOutlineText("Player 1 \x80\xE9\xFE", 0.3f, 0.6f, AlignCenter | AlignMiddle | TextShadow);
    EXPECT_EQ(ModelView(), matrix);
    GLint listBase = 0;
    glGetIntegerv(GL_LIST_BASE, &listBase);
    EXPECT_EQ(static_cast<GLuint>(listBase), 0xFFFFFFFFu);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EndFrame(Surface());
    EXPECT_TRUE(FindInk(bare, Black).empty());
}

TEST_F(OutlineText, HighCodesDrawAndMeasureWithTheirOwnGlyphs)
{
    Window control = MakeTextSurface(100, 100);
    EXPECT_EQ(OutlineTextHeight("e\xE9"), glyphMetrics[0xE9].blackBoxY);
    EXPECT_GT(glyphMetrics[0xE9].blackBoxY, glyphMetrics['e'].blackBoxY + 0.1f);
    EXPECT_EQ(OutlineTextWidth("Zo\xEB"), glyphMetrics['Z'].cellIncX + glyphMetrics['o'].cellIncX +
                                              glyphMetrics[0xEB].cellIncX);

    DrawFrame("e", 1, 1, AlignLeft | AlignBaseline, -0.5f, -0.5f);
    const InkBox e = FindInk(control, Black);
    DrawFrame("\xE9", 1, 1, AlignLeft | AlignBaseline, -0.5f, -0.5f);
    const InkBox eAcute = FindInk(control, Black);
    EXPECT_EQ(eAcute.bottom, e.bottom);
    EXPECT_LT(eAcute.top, e.top - 5);  // the accent above
    EXPECT_NEAR(eAcute.top, 75 - glyphMetrics[0xE9].glyphOriginY * 50, 1.0);

    for (unsigned char code : {0x80, 0x8A, 0x9F, 0xC5, 0xD6, 0xDF, 0xFE}) {
        DrawFrame(std::string(1, static_cast<char>(code)), 1, 1, AlignLeft | AlignBaseline, -0.5f,
                  -0.5f);
        EXPECT_GT(FindInk(control, Black).pixels, 100) << int{code};
    }

    // Code 255 has no glyph, no width and no height.
    EXPECT_EQ(OutlineTextWidth("\xFF"), 0);
    EXPECT_EQ(OutlineTextHeight("\xFF"), 0);
    DrawFrame("\xFF", 1, 1, AlignCenter | AlignMiddle);
    EXPECT_TRUE(FindInk(control, Black).empty());
}

TEST_F(OutlineText, SetupFillsTheRegistryAndReleasesTheContext)
{
    MakeTextSurface(40, 40);
    const GlSurface first = Surface();
    EXPECT_EQ(CurrentGlContext(), nullptr);
    const std::array<GlyphMetricsFloat, 256> metrics = std::to_array(glyphMetrics);
    MakeTextSurface(40, 40);
    EXPECT_EQ(CurrentGlContext(), nullptr);

    const auto a = fontListBases.find(reinterpret_cast<std::uintptr_t>(first.rc));
    const auto b = fontListBases.find(reinterpret_cast<std::uintptr_t>(Surface().rc));
    ASSERT_NE(a, fontListBases.end());
    ASSERT_NE(b, fontListBases.end());
    EXPECT_GE(std::max(a->second, b->second) - std::min(a->second, b->second), 256u);
    ASSERT_TRUE(MakeGlCurrent(Surface().dc, Surface().rc));
    for (GLuint code = 0; code < 255; ++code)
        EXPECT_EQ(glIsList(a->second + code), GL_TRUE) << code;
    MakeGlCurrent(nullptr, nullptr);

    // Both set-ups wrote the same metrics; 255 stays zero.
    for (int code = 0; code < 256; ++code) {
        EXPECT_EQ(metrics[code].cellIncX, glyphMetrics[code].cellIncX) << code;
        EXPECT_EQ(metrics[code].blackBoxY, glyphMetrics[code].blackBoxY) << code;
    }
    EXPECT_EQ(glyphMetrics[255].cellIncX, 0);
    EXPECT_EQ(glyphMetrics[255].blackBoxY, 0);
    EXPECT_TRUE(HeadlessMessageBoxes().empty());
}

TEST_F(OutlineText, AFailedLoadShowsTheMessageAndReturnsFalse)
{
    surfaces.push_back({});
    MakeGlSurface(Surface(), 40, 40);
    ForgetLoadedOutlineFont();
    FailNextOutlineFontLoad();
    EXPECT_FALSE(SetupOutlineFont(Surface().dc, Surface().rc, 24));
    ASSERT_EQ(HeadlessMessageBoxes().size(), 1u);
    EXPECT_EQ(HeadlessMessageBoxes()[0].text, "Could not set up OpenGL font outlines");
    EXPECT_EQ(HeadlessMessageBoxes()[0].caption, "Font setup error");
    EXPECT_EQ(HeadlessMessageBoxes()[0].owner, glOwnerWindow);
    EXPECT_EQ(HeadlessMessageBoxes()[0].buttons, MessageBoxButtons::Ok);
    EXPECT_EQ(CurrentGlContext(), nullptr);
    EXPECT_EQ(fontListBases.count(reinterpret_cast<std::uintptr_t>(Surface().rc)), 1u);

    // The failure is not remembered: the next set-up loads the font.
    EXPECT_TRUE(SetupOutlineFont(Surface().dc, Surface().rc, 24));
    EXPECT_EQ(HeadlessMessageBoxes().size(), 1u);
}

}  // namespace
