#include "platform/headless/headless.h"
#include "render/gl_surface.h"
#include "resources/card_atlas.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/view_pixels.h"

#include <GL/gl.h>
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
        ASSERT_TRUE(HeadlessGlAvailable());
        owner = HeadlessCreateWindow(nullptr, 10, 10);
        InitGlState(owner);
    }
    void TearDown() override { HeadlessFailGl(GlFailure::None); }

    Window owner = nullptr;
};

TEST_F(GlSurfaceTest, ContextFailuresAreReportedStepByStep)
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
        MakeGlSurface(surface, 20, 20);
        EXPECT_EQ(surface.rc, nullptr);
        ASSERT_EQ(HeadlessMessageBoxes().size(), 1u);
        EXPECT_EQ(HeadlessMessageBoxes()[0].text, text);
        EXPECT_EQ(HeadlessMessageBoxes()[0].caption, caption);
        EXPECT_EQ(HeadlessMessageBoxes()[0].owner, owner);
        EXPECT_FALSE(BeginFrame(surface));
        EXPECT_EQ(CurrentGlContext(), nullptr);
    }
}

TEST_F(GlSurfaceTest, AtlasCellsAreAddressedAndDrawnUprightOnlyOnCardSurfaces)
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
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);
    MakeGlCurrent(nullptr, nullptr);
    const std::tuple<TexCorner, int, int> cells[] = {
        // top-left corner, column, row
        {cardAtlas.rankCorner[0], 0, 1},     {cardAtlas.rankCorner[9], 1, 3},
        {cardAtlas.rankCorner[12], 0, 4},    {cardAtlas.suitCorner[3], 3, 0},
        {cardAtlas.playingIconCorner, 2, 5}, {cardAtlas.idleIconCorner, 3, 5}};
    for (const auto& [corner, column, row] : cells) {
        EXPECT_FLOAT_EQ(corner.s, column / 4.0f) << column << "," << row;
        EXPECT_FLOAT_EQ(corner.t, 1 - row / 8.0f) << column << "," << row;
    }
    const TexCorner q = cardAtlas.rankCorner[11];
    ASSERT_TRUE(BeginFrame(surface));
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
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
