// Text in the outline font, drawn by Mesa on headless surfaces.
#include "render/outline_text.h"

#include "platform/font_testing.h"
#include "platform/headless/headless.h"
#include "render/gl_surface.h"
#include "render/outline_text_testing.h"
#include "tests/support/gl_fixture.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// The model-view matrix and the colour.
std::vector<GLfloat> CurrentState()
{
    std::vector<GLfloat> s(20);
    glGetFloatv(GL_MODELVIEW_MATRIX, &s[0]);
    glGetFloatv(GL_CURRENT_COLOR, &s[16]);
    return s;
}

class OutlineText : public ::testing::Test {
protected:
    void SetUp() override { HeadlessReset(); }
    void TearDown() override
    {
        for (GlSurface& s : surfaces) {
            fontListBases.erase(reinterpret_cast<std::uintptr_t>(s.rc));
            DeleteGlContext(s.rc);
        }
    }
    // A surface, with its font unless told otherwise, made the last one.
    Window MakeTextSurface(int width, int height, bool withFont = true)
    {
        const Window control = MakeGlSurface(surfaces.emplace_back(), width, height);
        EXPECT_TRUE(!withFont || SetupOutlineFont(surfaces.back().dc, surfaces.back().rc, 24));
        return control;
    }
    // Draws a frame of text at the origin moved to (x, y) and returns its ink.
    InkBox Draw(Window control, std::string_view text, float scale, std::uint8_t flags, float x = 0,
                float y = 0)
    {
        EXPECT_TRUE(BeginFrame(surfaces.back()));
        glClear(GL_COLOR_BUFFER_BIT);
        glTranslatef(x, y, 0);
        DrawOutlineText(text, scale, scale, flags);
        EndFrame(surfaces.back());
        return FindInk(control, 0);
    }
    std::vector<GlSurface> surfaces;
};

TEST_F(OutlineText, FlagsMoveThePenByWidthAndHeightAndHighCodesDrawTheirOwnGlyphs)
{
    const Window control = MakeTextSurface(300, 100);
    const InkBox h = Draw(control, "H", 0.75f, AlignLeft | AlignBaseline, -0.9f, -0.5f);
    EXPECT_EQ(h.bottom + 1, 75);  // on the baseline y = -0.5
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
    // Windows-1252's high codes have glyphs of their own (not the "?"); 255 has none.
    const InkBox question = Draw(control, "?", 1, AlignLeft | AlignBaseline, -0.5f, -0.5f);
    for (const unsigned char code : std::string_view("\x80\x9F\xC5\xFE\xFF")) {
        const InkBox ink = Draw(control, std::string(1, static_cast<char>(code)), 1,
                                AlignLeft | AlignBaseline, -0.5f, -0.5f);
        EXPECT_EQ(ink.pixels > 100 && ink.pixels != question.pixels, code != 0xFF) << int{code};
    }
}

TEST_F(OutlineText, DrawingKeepsTheStateFillsWhateverTheModeAndTheShadowFallsBelowRight)
{
    const Window control = MakeTextSurface(200, 120);
    ASSERT_TRUE(BeginFrame(surfaces.back()));
    glTranslatef(0.25f, 0.5f, 0);
    for (std::uint8_t flags = 0; flags < 128; flags = static_cast<std::uint8_t>(flags + 9)) {
        glColor4f(0.9f, 0.6f, 0.3f, 0.25f);
        const std::vector<GLfloat> state = CurrentState();
        DrawOutlineText(flags % 2 ? "Zo\xEB 7%" : "", 0.2f, 0.4f, flags);
        EXPECT_EQ(CurrentState(), state) << int{flags};
    }
    EndFrame(surfaces.back());
    // Filled, the hole open, as much ink though the caller left lines and culling on.
    const InkBox o = Draw(control, "o", 3, AlignCenter | AlignMiddle);
    EXPECT_EQ(HeadlessPixel(control, (o.left + o.right) / 2, (o.top + o.bottom) / 2), 0u);
    ASSERT_TRUE(BeginFrame(surfaces.back()));
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glEnable(GL_CULL_FACE);
    EXPECT_EQ(Draw(control, "o", 3, AlignCenter | AlignMiddle).pixels, o.pixels);
    const InkBox plain = Draw(control, "Player", 0.5f, AlignCenter | AlignMiddle);
    const InkBox shadowed = Draw(control, "Player", 0.5f, AlignCenter | AlignMiddle | TextShadow);
    EXPECT_EQ(std::pair(shadowed.left, shadowed.top), std::pair(plain.left, plain.top));
    EXPECT_TRUE(shadowed.right > plain.right && shadowed.bottom > plain.bottom);
}

TEST_F(OutlineText, EachContextHasItsOwnFontOneWithoutDrawsNothingAndAFailedLoadIsNotKept)
{
    const Window first = MakeTextSurface(80, 40);
    const Window bare = MakeTextSurface(200, 60, false);
    EXPECT_TRUE(Draw(bare, "Player 1 \x80\xE9", 0.3f, AlignCenter | TextShadow).empty());
    ForgetLoadedOutlineFont();
    FailNextOutlineFontLoad();
    EXPECT_FALSE(SetupOutlineFont(surfaces.back().dc, surfaces.back().rc, 24));
    ASSERT_EQ(HeadlessMessageBoxes().size(), 1u);
    EXPECT_EQ(HeadlessMessageBoxes()[0].text, "Could not set up OpenGL font outlines");
    EXPECT_EQ(HeadlessMessageBoxes()[0].caption, "Font setup error");
    EXPECT_EQ(CurrentGlContext(), nullptr);
    EXPECT_TRUE(SetupOutlineFont(surfaces.back().dc, surfaces.back().rc, 24));
    std::swap(surfaces.front(), surfaces.back());  // the first context draws after the others
    EXPECT_GT(Draw(first, "Hi", 0.5f, AlignCenter | AlignMiddle).pixels, 50);
}

}  // namespace
