// OpenGL on the headless platform: contexts, sharing, picking, failures, and the card texture.
#include "platform/gl.h"
#include "platform/headless/headless.h"
#include "render/gl_surface.h"
#include "resources/card_atlas.h"
#include "tests/support/gl_fixture.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

class GlSurfaceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HeadlessReset();
        HeadlessFailGl(GlFailure::None);
        ResetAppState(appState);
        ASSERT_TRUE(HeadlessGlAvailable()) << "Mesa's surfaceless EGL display is missing";
        owner = HeadlessCreateWindow(nullptr, 10, 10);
        InitGlState(owner);
    }
    void TearDown() override { HeadlessFailGl(GlFailure::None); }

    Window owner = nullptr;
};

TEST_F(GlSurfaceTest, ContextsDrawTopRowFirstShareTexturesAndPick)
{
    GlSurface a, b;
    MakeGlSurface(a, 40, 40);
    Window control = MakeGlSurface(b, 64, 32);
    ASSERT_TRUE(MakeGlCurrent(a.dc, a.rc));
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    ASSERT_TRUE(MakeGlCurrent(b.dc, b.rc));
    EXPECT_EQ(CurrentGlContext(), b.rc);
    EXPECT_EQ(glIsTexture(texture), GL_TRUE);  // made in a, known in b

    glClearColor(1, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(0, 1, 0);
    glRectf(-1, 0, 1, 1);  // the upper half
    SwapGlBuffers(b.dc);
    EXPECT_EQ(HeadlessPixel(control, 5, 2), Rgb(0, 255, 0));
    EXPECT_EQ(HeadlessPixel(control, 60, 14), Rgb(0, 255, 0));
    EXPECT_EQ(HeadlessPixel(control, 5, 30), Rgb(255, 0, 0));

    // Selection mode: a rectangle named 7 over the right half is hit at the right only.
    auto pick = [](int x, int y) {
        GLuint buffer[64];
        GLint viewport[4];
        glSelectBuffer(64, buffer);
        glGetIntegerv(GL_VIEWPORT, viewport);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPickMatrix(x, 32 - y, 2.0, 2.0, viewport);
        glRenderMode(GL_SELECT);
        glInitNames();
        glPushName(7);
        glRectf(0, -1, 1, 1);
        return glRenderMode(GL_RENDER) > 0 ? static_cast<int>(buffer[3]) : -1;
    };
    EXPECT_EQ(pick(50, 16), 7);
    EXPECT_EQ(pick(14, 16), -1);
    EXPECT_TRUE(MakeGlCurrent(nullptr, nullptr));
    EXPECT_EQ(CurrentGlContext(), nullptr);
    DeleteGlContext(a.rc);
    DeleteGlContext(b.rc);
}

TEST_F(GlSurfaceTest, EachFailingStepShowsItsMessageToTheOwnerAndLeavesNoContext)
{
    const std::tuple<GlFailure, const char*, const char*> cases[] = {
        {GlFailure::ChooseFormat, "Could not choose Pixel format", "Pixel format problem"},
        {GlFailure::SetFormat, "Could not set Pixel format", "Pixel format problem"},
        {GlFailure::CreateContext, "Could not create HGLRC", "HGLRC problem"},
    };
    for (const auto& [failure, text, caption] : cases) {
        HeadlessReset();
        HeadlessFailGl(failure);
        GlSurface surface;
        const Window control = MakeGlSurface(surface, 20, 20);
        EXPECT_EQ(surface.rc, nullptr);
        ASSERT_EQ(HeadlessMessageBoxes().size(), 1u);
        EXPECT_EQ(HeadlessMessageBoxes()[0].text, text);
        EXPECT_EQ(HeadlessMessageBoxes()[0].caption, caption);
        EXPECT_EQ(HeadlessMessageBoxes()[0].owner, owner);
        EXPECT_FALSE(BeginFrame(surface));
        EXPECT_EQ(CurrentGlContext(), nullptr);
        HeadlessFailGl(GlFailure::None);
        // A context made for a window that is then destroyed cannot be made current.
        surface.rc = CreateGlContext(surface.dc);
        ASSERT_NE(surface.rc, nullptr);
        DestroyWindow(control);
        EXPECT_FALSE(MakeGlCurrent(surface.dc, surface.rc));
        EXPECT_FALSE(MakeGlCurrent(surface.dc, nullptr));
        EXPECT_EQ(CurrentGlContext(), nullptr);
        SwapGlBuffers(surface.dc);  // harmless
        DeleteGlContext(surface.rc);
    }
}

TEST_F(GlSurfaceTest, TheCardTextureRejectsBadBitmapsAndItsCellsAreDrawnUpright)
{
    std::vector<std::uint8_t> bytes(CardAtlasResource().begin(), CardAtlasResource().end());
    EXPECT_FALSE(LoadCardTextureFrom({}));
    EXPECT_FALSE(LoadCardTextureFrom(std::span(bytes).first(1000)));  // rows cut off
    bytes[14] = 32;                                                   // 32 bits per pixel
    EXPECT_FALSE(LoadCardTextureFrom(bytes));
    EXPECT_EQ(CurrentGlContext(), nullptr);
    GlSurface& surface = appState.handCardsArea.surface;  // the Queen's cell, a texel a pixel
    const Window control = MakeGlSurface(surface, 32, 32);
    MakeGlSurface(appState.gainArea.surface, 8, 8);
    ASSERT_TRUE(LoadCardTexture());
    ASSERT_TRUE(MakeGlCurrent(appState.gainArea.surface.dc, appState.gainArea.surface.rc));
    GLint bound = -1;  // the gain display shows no card
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);
    MakeGlCurrent(nullptr, nullptr);
    const TexCorner q = cardAtlas.rankCorner[11];
    ASSERT_TRUE(BeginFrame(surface));
    glColor4f(1, 1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, cardAtlas.cardTexture);
    glEnable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {1, 1}, {0, 1}}) {
        glTexCoord2f(q.s + x * cardAtlas.cellWidth, q.t - (1 - y) * cardAtlas.cellHeight);
        glVertex2f(x * 2.0f - 1, y * 2.0f - 1);
    }
    glEnd();
    glDisable(GL_TEXTURE_2D);
    EndFrame(surface);
    int upright = 0, flipped = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const std::uint32_t shown = HeadlessPixel(control, x, y);
            upright += ColourDistance(shown, AtlasPixel(96 + x, 96 + y));  // row 3, column 3
            flipped += ColourDistance(shown, AtlasPixel(96 + x, 96 + 31 - y));
        }
    EXPECT_LT(upright * 4, flipped) << "the glyph is drawn upside down";
    EXPECT_LT(upright, 32 * 32 * 8);  // at most a little filtering blur per pixel
}
