#include "platform/headless/headless.h"
#include "render/gl_surface.h"
#include "resources/card_atlas.h"
#include "tests/support/gl_fixture.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

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

// The atlas pixel (x, y counted from the top-left of the picture) as 0x00RRGGBB.
std::uint32_t AtlasPixel(int x, int y)
{
    const auto bytes = CardAtlasResource();
    const std::size_t row = static_cast<std::size_t>(CardAtlasHeight - 1 - y);
    const std::uint8_t* p = bytes.data() + 40 + row * 384 + static_cast<std::size_t>(x) * 3;
    return Rgb(p[2], p[1], p[0]);
}

int Difference(std::uint32_t a, std::uint32_t b)
{
    return std::abs(RedOf(a) - RedOf(b)) + std::abs(GreenOf(a) - GreenOf(b)) +
           std::abs(BlueOf(a) - BlueOf(b));
}

}  // namespace

TEST_F(GlSurfaceTest, ContextFailuresAreReportedStepByStep)
{
    const struct {
        GlFailure failure;
        const char* text;
        const char* caption;
    } cases[] = {
        {GlFailure::ChooseFormat, "Could not choose Pixel format", "Pixel format problem"},
        {GlFailure::SetFormat, "Could not set Pixel format", "Pixel format problem"},
        {GlFailure::CreateContext, "Could not create HGLRC", "HGLRC problem"},
    };
    for (const auto& c : cases) {
        HeadlessReset();
        HeadlessFailGl(c.failure);
        GlSurface surface;
        MakeGlSurface(surface, 20, 20);
        EXPECT_EQ(surface.rc, nullptr);
        ASSERT_EQ(HeadlessMessageBoxes().size(), 1u);
        EXPECT_EQ(HeadlessMessageBoxes()[0].text, c.text);
        EXPECT_EQ(HeadlessMessageBoxes()[0].caption, c.caption);
        EXPECT_EQ(HeadlessMessageBoxes()[0].owner, owner);
        // A surface without a context draws nothing and leaves nothing current.
        EXPECT_FALSE(BeginFrame(surface));
        EXPECT_EQ(CurrentGlContext(), nullptr);
    }
}

TEST_F(GlSurfaceTest, AtlasCoordinatesAddressTheDocumentedCells)
{
    GlSurface surface;
    MakeGlSurface(surface, 8, 8);
    appState.handCardsArea.surface = surface;
    ASSERT_TRUE(LoadCardTexture());
    EXPECT_FLOAT_EQ(cardAtlas.rankCorner[0].s, 0.0f);  // A
    EXPECT_FLOAT_EQ(cardAtlas.rankCorner[0].t, 0.875f);
    EXPECT_FLOAT_EQ(cardAtlas.rankCorner[9].s, 0.25f);  // 10
    EXPECT_FLOAT_EQ(cardAtlas.rankCorner[9].t, 0.625f);
    EXPECT_FLOAT_EQ(cardAtlas.rankCorner[12].s, 0.0f);  // K
    EXPECT_FLOAT_EQ(cardAtlas.rankCorner[12].t, 0.5f);
    EXPECT_FLOAT_EQ(cardAtlas.suitCorner[3].s, 0.75f);
    EXPECT_FLOAT_EQ(cardAtlas.suitCorner[3].t, 1.0f);
    EXPECT_FLOAT_EQ(cardAtlas.playingIconCorner.s, 0.5f);
    EXPECT_FLOAT_EQ(cardAtlas.idleIconCorner.t, 0.375f);
    EXPECT_NE(cardAtlas.cardTexture, 0u);
}

TEST_F(GlSurfaceTest, MalformedBitmapsAreRefusedWithoutTouchingAContext)
{
    std::vector<std::uint8_t> bytes(CardAtlasResource().begin(), CardAtlasResource().end());
    EXPECT_FALSE(LoadCardTextureFrom({}));
    EXPECT_FALSE(LoadCardTextureFrom(std::span(bytes).first(1000)));  // rows cut off
    bytes[14] = 32;                                                   // 32 bits per pixel
    EXPECT_FALSE(LoadCardTextureFrom(bytes));
    EXPECT_EQ(CurrentGlContext(), nullptr);
}

TEST_F(GlSurfaceTest, ACellDrawnWithItsCornerShowsUpright)
{
    // Draw the Queen's glyph cell over a 32 x 32 surface, one texel per pixel, and compare it
    // with the cell as the bitmap holds it, top row first.
    GlSurface surface;
    Window control = MakeGlSurface(surface, 32, 32);
    appState.handCardsArea.surface = surface;
    ASSERT_TRUE(LoadCardTexture());
    const TexCorner c = cardAtlas.rankCorner[11];
    ASSERT_TRUE(BeginFrame(surface));
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, cardAtlas.cardTexture);
    glEnable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    glTexCoord2f(c.s, c.t - cardAtlas.cellHeight);
    glVertex2f(-1, -1);
    glTexCoord2f(c.s + cardAtlas.cellWidth, c.t - cardAtlas.cellHeight);
    glVertex2f(1, -1);
    glTexCoord2f(c.s + cardAtlas.cellWidth, c.t);
    glVertex2f(1, 1);
    glTexCoord2f(c.s, c.t);
    glVertex2f(-1, 1);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    EndFrame(surface);

    const int cellX = 3 * 32, cellY = 3 * 32;  // row 3, column 3 of the picture
    int upright = 0, flipped = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const std::uint32_t shown = HeadlessPixel(control, x, y);
            upright += Difference(shown, AtlasPixel(cellX + x, cellY + y));
            flipped += Difference(shown, AtlasPixel(cellX + x, cellY + 31 - y));
        }
    EXPECT_LT(upright * 4, flipped) << "the glyph is drawn upside down";
    EXPECT_LT(upright, 32 * 32 * 8);  // at most a little filtering blur per pixel
}

TEST_F(GlSurfaceTest, TheGainSurfaceGetsNoCardTexture)
{
    GlSurface cards, gain;
    MakeGlSurface(cards, 16, 16);
    MakeGlSurface(gain, 16, 16);
    appState.opponentsArea.surface = cards;
    appState.gainArea.surface = gain;
    ASSERT_TRUE(LoadCardTexture());
    ASSERT_TRUE(MakeGlCurrent(gain.dc, gain.rc));
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);
    MakeGlCurrent(nullptr, nullptr);
}
