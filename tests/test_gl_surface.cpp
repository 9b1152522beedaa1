// OpenGL set-up failures on the headless platform, and the embedded card atlas, decoded
// independently of its generator.
#include "platform/gl.h"
#include "platform/headless/headless.h"
#include "render/gl_surface.h"
#include "render/picking.h"
#include "resources/card_atlas.h"
#include "tests/support/gl_fixture.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <tuple>
#include <vector>

namespace {

class GlSurfaceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HeadlessReset();
        ResetAppState(appState);
        ASSERT_TRUE(HeadlessGlAvailable()) << "Mesa's surfaceless EGL display is missing";
        owner = HeadlessCreateWindow(nullptr, 10, 10);
        InitGlState(owner);
    }
    void TearDown() override { HeadlessFailGl(GlFailure::None); }
    Window owner = nullptr;
};

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
        const RecordedMessageBox& box = HeadlessMessageBoxes()[0];
        EXPECT_EQ(std::tuple(box.text, box.caption, box.owner), std::tuple(text, caption, owner));
        EXPECT_FALSE(BeginFrame(surface));
        EXPECT_EQ(CurrentGlContext(), nullptr);
        HeadlessFailGl(GlFailure::None);
        // A context made for a window that is then destroyed cannot be made current.
        surface.rc = CreateGlContext(surface.dc);
        ASSERT_NE(surface.rc, nullptr);
        DestroyWindow(control);
        EXPECT_FALSE(MakeGlCurrent(surface.dc, surface.rc));
        EXPECT_EQ(CurrentGlContext(), nullptr);
        DeleteGlContext(surface.rc);
    }
    // The card texture rejects bad bitmaps.
    std::vector<std::uint8_t> bytes(CardAtlasResource().begin(), CardAtlasResource().end());
    EXPECT_FALSE(LoadCardTextureFrom({}));
    EXPECT_FALSE(LoadCardTextureFrom(std::span(bytes).first(1000)));  // rows cut off
    bytes[14] = 32;                                                   // 32 bits per pixel
    EXPECT_FALSE(LoadCardTextureFrom(bytes));
}

// --- The card atlas ----------------------------------------------------------------------------

constexpr int N = CardAtlasCell;

// A cell's ink (pixels unlike its background, white or black): its box, and per column and row.
struct Cell {
    int column, row;
    std::uint32_t background;
    int left = N, top = N, right = -1, bottom = -1;
    std::array<int, N> columns{}, rows{};
    std::uint32_t at(int x, int y) const { return AtlasPixel(column * N + x, row * N + y); }
    Cell(int c, int r, std::uint32_t paper = Rgb(255, 255, 255))
        : column(c), row(r), background(paper)
    {
        for (int y = 0; y < N; ++y)
            for (int x = 0; x < N; ++x)
                if (at(x, y) != background) {
                    ++columns[x], ++rows[y];
                    left = std::min(left, x), right = std::max(right, x);
                    top = std::min(top, y), bottom = std::max(bottom, y);
                }
    }
    static Cell rank(int index) { return {index % 4, 1 + index / 4}; }  // 0 = A .. 12 = K
    // The pixels whose red, green and blue are each nearest to `hue`'s (0x00, 0x80 or 0xFF).
    int count(std::uint32_t hue) const
    {
        int n = 0;
        for (int y = 0; y < N; ++y)
            for (int x = 0; x < N; ++x)
                n += ColourDistance(at(x, y), hue) < 3 * 64;
        return n;
    }
};

TEST(CardAtlas, CellsShowCentredUprightSymbolsInTheirColoursInTheirCells)
{
    const std::uint32_t black = Rgb(0, 0, 0), red = Rgb(255, 0, 0), green = Rgb(0, 255, 0);
    for (int i = 0; i < 17; ++i) {  // clubs, diamonds, hearts, spades, then A .. K
        const Cell c = i < 4 ? Cell{i, 0} : Cell::rank(i - 4);
        EXPECT_NEAR((c.left + c.right) / 2.0, 15.5, 2.0) << i;
        EXPECT_NEAR((c.top + c.bottom) / 2.0, 15.5, 3.0) << i;
        EXPECT_GE(c.bottom - c.top + 1, 18) << i;
        const bool redSuit = i == 1 || i == 2;
        EXPECT_GT(c.count(redSuit ? red : black), i < 4 ? 150 : 60) << i;
        EXPECT_EQ(c.count(redSuit ? black : red), 0) << i;
        int runs = 0;  // of columns with ink: the 10 alone has two
        for (int x = 0; x < N; ++x)
            runs += c.columns[x] && (x == 0 || !c.columns[x - 1]);
        EXPECT_EQ(runs, i == 13 ? 2 : 1) << i;
    }
    for (int column : {2, 3}) {  // the player markers on black: playing green, idle red
        const Cell marker{column, 5, black};
        EXPECT_GT(marker.count(column == 2 ? green : red), 15) << column;
        EXPECT_EQ(marker.count(column == 2 ? red : green), 0) << column;
    }
    const Cell seven = Cell::rank(6), ace = Cell::rank(0), heart{2, 0}, jack = Cell::rank(10);
    EXPECT_GT(seven.rows[seven.top + 1], 2 * seven.rows[seven.bottom - 1]) << "the 7's bar on top";
    EXPECT_LT(ace.rows[ace.top], ace.rows[ace.bottom]) << "the apex of the A on top";
    EXPECT_GT(heart.rows[heart.top + (heart.bottom - heart.top) / 4],
              2 * heart.rows[heart.bottom - 2])
        << "the point of the heart at the bottom";
    int leftInk = 0, rightInk = 0;  // the J's hook opens to the left
    for (int x = 0; x < N; ++x)
        (x < N / 2 ? leftInk : rightInk) += jack.columns[x];
    EXPECT_GT(rightInk, leftInk);
}

}  // namespace

TEST(Picking, TheNearestHitWinsTheEarliestOnTiesAndAnOverflowNone)
{
    // Hit records of four words: names (1), nearest and farthest depth (unsigned), the name.
    const std::uint32_t records[] = {1, 900, 900, 7, 1, 300,        900,        8,
                                     1, 300, 300, 9, 1, 0xFFFFFFFF, 0xFFFFFFFF, 10};
    EXPECT_EQ(NearestHitName(records, 4), 8);
    EXPECT_EQ(NearestHitName(records, 1), 7);
    EXPECT_EQ(NearestHitName(records, 0), -1);
    EXPECT_EQ(NearestHitName(records, -1), -1);
}
