// The outline font: its glyphs, their tessellation, and text drawn by Mesa on headless surfaces.
#include "render/outline_text.h"

#include "platform/font.h"
#include "platform/font_testing.h"
#include "platform/headless/headless.h"
#include "render/gl_surface.h"
#include "render/outline_text_testing.h"
#include "tests/support/gl_fixture.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

const GlyphOutline& Glyph(unsigned char code)
{
    static const auto font = [] {
        auto loaded = std::make_unique<OutlineFont>();
        EXPECT_TRUE(LoadOutlineFont(*loaded));
        return loaded;
    }();
    return (*font)[code];
}

// The area the contours enclose, clockwise contours counting negative.
double SignedArea(const GlyphOutline& glyph)
{
    double area = 0;
    for (const auto& contour : glyph.contours)
        for (std::size_t i = 0; i < contour.size(); ++i) {
            const OutlinePoint &a = contour[i], &b = contour[(i + 1) % contour.size()];
            area += (static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y) / 2;
        }
    return area;
}

TEST(OutlineFont, ABoldSansWithTheEmAsUnitTessellatedFacingForwardWithTheHolesLeftOpen)
{
    const GlyphOutline& a = Glyph('A');
    EXPECT_NEAR(a.inkHeight, 0.7f, 0.03f);
    EXPECT_NEAR(a.inkTop, a.inkHeight, 0.001f);  // stands on the baseline
    EXPECT_EQ(Glyph('B').contours.size(), 3u);
    EXPECT_GT(Glyph(0xE9).inkTop, Glyph('e').inkTop + 0.1f);  // Windows-1252 é: e with an accent
    for (const unsigned char code : std::string_view("oeAB8%\xE9\xF6")) {
        const std::vector<float> t = TessellateGlyph(Glyph(code));
        ASSERT_EQ(t.size() % 6, 0u);
        double area = 0;
        for (std::size_t i = 0; i < t.size(); i += 6) {
            const double twice = (t[i + 2] - t[i]) * (t[i + 5] - t[i + 1]) -
                                 (t[i + 4] - t[i]) * (t[i + 3] - t[i + 1]);
            EXPECT_GT(twice, 0) << int{code};
            area += twice / 2;
        }
        EXPECT_NEAR(area, -SignedArea(Glyph(code)), 1e-4) << int{code};  // a filled hole adds
    }
    EXPECT_TRUE(TessellateGlyph(Glyph(' ')).empty());
}

// The model-view matrix, its depth and the colour; with all, also the polygon modes, the front
// face and the list base, which only an empty string leaves alone.
std::vector<GLfloat> CurrentState(bool all = false)
{
    std::vector<GLfloat> s(all ? 25 : 21);
    glGetFloatv(GL_MODELVIEW_MATRIX, &s[0]);
    glGetFloatv(GL_MODELVIEW_STACK_DEPTH, &s[16]);
    glGetFloatv(GL_CURRENT_COLOR, &s[17]);
    if (all) {
        glGetFloatv(GL_POLYGON_MODE, &s[21]);
        glGetFloatv(GL_FRONT_FACE, &s[23]);
        glGetFloatv(GL_LIST_BASE, &s[24]);
    }
    return s;
}

class OutlineText : public ::testing::Test {
protected:
    void SetUp() override
    {
        HeadlessReset();
        ASSERT_TRUE(HeadlessGlAvailable());
    }
    void TearDown() override
    {
        for (GlSurface& s : surfaces) {
            fontListBases.erase(reinterpret_cast<std::uintptr_t>(s.rc));
            DeleteGlContext(s.rc);
        }
        HeadlessReset();
    }
    // A surface, with its font unless told otherwise, made the last one.
    Window MakeTextSurface(int width, int height, bool withFont = true)
    {
        const Window control = MakeGlSurface(surfaces.emplace_back(), width, height);
        EXPECT_TRUE(!withFont || SetupOutlineFont(Surface().dc, Surface().rc, 24));
        return control;
    }
    GlSurface& Surface() { return surfaces.back(); }
    void Begin()
    {
        ASSERT_TRUE(BeginFrame(Surface()));
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor3f(1, 1, 1);
    }
    // Draws a frame of text at the origin moved to (x, y) and returns its ink.
    InkBox Draw(Window control, std::string_view text, float scale, std::uint8_t flags, float x = 0,
                float y = 0)
    {
        Begin();
        glTranslatef(x, y, 0);
        DrawOutlineText(text, scale, scale, flags);
        EndFrame(Surface());
        return FindInk(control, 0);
    }
    std::vector<GlSurface> surfaces;
};

TEST_F(OutlineText, FlagsMoveThePenByWidthAndHeightAndHighCodesDrawTheirOwnGlyphs)
{
    const Window control = MakeTextSurface(300, 100);
    const InkBox h = Draw(control, "H", 0.75f, AlignLeft | AlignBaseline, -0.9f, -0.5f);
    EXPECT_EQ(h.bottom + 1, 75);           // on the baseline y = -0.5
    EXPECT_NEAR(h.left, 0.1 * 150, 10.0);  // at the origin, give or take the left bearing
    const std::string text = "Player 1";
    const InkBox base = Draw(control, text, 0.25f, AlignLeft | AlignBaseline);
    const double width = OutlineTextWidth(text) * 0.25f * 150,
                 height = OutlineTextHeight(text) * 0.25f * 50;
    const std::tuple<std::uint8_t, double, double> cases[] = {
        // flags, and the pen's shift right and up in widths and heights
        {0, 0, 0},  // no flags: left, baseline
        {AlignCenter | AlignTop, -0.5, -1},
        {AlignRight | AlignMiddle, -1, -0.5},
        {AlignLeft | AlignCenter | AlignRight | AlignBaseline, 0, 0},  // the first set flag wins
        {AlignRight | AlignTop | AlignMiddle | AlignBaseline, -1, -1},
    };
    for (const auto& [flags, dx, dy] : cases) {
        const InkBox ink = Draw(control, text, 0.25f, flags);
        EXPECT_NEAR(ink.left - base.left, dx * width, 1.0) << int{flags};
        EXPECT_NEAR(ink.bottom - base.bottom, -dy * height, 1.0) << int{flags};
    }

    EXPECT_EQ(OutlineTextHeight("e\xE9"), glyphMetrics[0xE9].blackBoxY);
    const InkBox question = Draw(control, "?", 1, AlignLeft | AlignBaseline, -0.5f, -0.5f);
    for (unsigned char code : {0x80, 0x9F, 0xC5, 0xFE}) {
        const InkBox ink = Draw(control, std::string(1, static_cast<char>(code)), 1,
                                AlignLeft | AlignBaseline, -0.5f, -0.5f);
        EXPECT_GT(ink.pixels, 100) << int{code};
        EXPECT_NE(ink.pixels, question.pixels) << int{code};
    }
    EXPECT_EQ(OutlineTextWidth("\xFF"), 0);  // 255 has no glyph
    EXPECT_TRUE(Draw(control, "\xFF", 1, AlignCenter | AlignMiddle).empty());
}

TEST_F(OutlineText, DrawingKeepsTheStateFillsWhateverTheModeAndTheShadowFallsBelowRight)
{
    const Window control = MakeTextSurface(200, 120);
    Begin();
    glFrontFace(GL_CW);
    glListBase(7);
    glTranslatef(0.25f, 0.5f, 0);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    for (std::uint8_t flags = 0; flags < 128; flags = static_cast<std::uint8_t>(flags + 9)) {
        glColor4f(0.9f, 0.6f, 0.3f, 0.25f);
        const std::vector<GLfloat> state = CurrentState(flags % 2 == 0);
        DrawOutlineText(flags % 2 ? "Zo\xEB 7%" : "", 0.2f, 0.4f, flags);
        EXPECT_EQ(CurrentState(flags % 2 == 0), state) << int{flags};
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    // Filled with the hole open, although the caller left lines and culling on.
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glClear(GL_COLOR_BUFFER_BIT);
    glLoadIdentity();
    glFrontFace(GL_CCW);
    glEnable(GL_CULL_FACE);
    glColor3f(1, 1, 1);
    DrawOutlineText("o", 3, 3, AlignCenter | AlignMiddle);
    EndFrame(Surface());
    const InkBox o = FindInk(control, 0);
    EXPECT_EQ(HeadlessPixel(control, (o.left + o.right) / 2, (o.top + o.bottom) / 2), 0u);
    const double enclosed = -SignedArea(Glyph('o')) * 9 * 100 * 60;
    EXPECT_NEAR(o.pixels, enclosed, enclosed * 0.05);

    const InkBox plain = Draw(control, "Player", 0.5f, AlignCenter | AlignMiddle);
    const InkBox shadowed = Draw(control, "Player", 0.5f, AlignCenter | AlignMiddle | TextShadow);
    EXPECT_EQ(std::pair(shadowed.left, shadowed.top), std::pair(plain.left, plain.top));
    EXPECT_GT(shadowed.right, plain.right);
    EXPECT_GT(shadowed.bottom, plain.bottom);
}

TEST_F(OutlineText, EachContextHasItsOwnFontOneWithoutDrawsNothingAndAFailedLoadIsNotKept)
{
    const Window first = MakeTextSurface(80, 40);
    const GlSurface firstSurface = Surface();
    MakeTextSurface(80, 40);
    EXPECT_EQ(CurrentGlContext(), nullptr);  // set-up releases the context
    const std::uint32_t a = FontListBaseOf(firstSurface.rc), b = FontListBaseOf(Surface().rc);
    ASSERT_TRUE(a != NoFontListBase && b != NoFontListBase);
    EXPECT_GE(std::max(a, b) - std::min(a, b), 256u);

    const Window bare = MakeTextSurface(200, 60, false);
    Begin();
    const std::vector<GLfloat> before = CurrentState();
    DrawOutlineText("Player 1 \x80\xE9\xFE", 0.3f, 0.6f, AlignCenter | AlignMiddle | TextShadow);
    EXPECT_EQ(CurrentState(), before);
    EndFrame(Surface());
    EXPECT_TRUE(FindInk(bare, 0).empty());
    EXPECT_TRUE(HeadlessMessageBoxes().empty());

    ForgetLoadedOutlineFont();
    FailNextOutlineFontLoad();
    EXPECT_FALSE(SetupOutlineFont(Surface().dc, Surface().rc, 24));
    ASSERT_EQ(HeadlessMessageBoxes().size(), 1u);
    EXPECT_EQ(HeadlessMessageBoxes()[0].text, "Could not set up OpenGL font outlines");
    EXPECT_EQ(HeadlessMessageBoxes()[0].caption, "Font setup error");
    EXPECT_EQ(CurrentGlContext(), nullptr);
    EXPECT_TRUE(SetupOutlineFont(Surface().dc, Surface().rc, 24));
    EXPECT_EQ(HeadlessMessageBoxes().size(), 1u);
    std::swap(surfaces.front(), surfaces.back());  // the first context draws after the others
    EXPECT_GT(Draw(first, "Hi", 0.5f, AlignCenter | AlignMiddle).pixels, 50);
}

}  // namespace
