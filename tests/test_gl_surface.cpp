// OpenGL on the headless platform (contexts, sharing, picking, failures) and the embedded card
// atlas, decoded independently of its generator.
#include "platform/gl.h"
#include "platform/headless/headless.h"
#include "render/gl_surface.h"
#include "resources/card_atlas.h"
#include "tests/support/gl_fixture.h"

#include <GL/gl.h>
#include <GL/glu.h>
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
    for (auto [x, y, colour] :
         {std::tuple{5, 2, Rgb(0, 255, 0)}, {60, 14, Rgb(0, 255, 0)}, {5, 30, Rgb(255, 0, 0)}})
        EXPECT_EQ(HeadlessPixel(control, x, y), colour) << x << "," << y;
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
        SwapGlBuffers(surface.dc);  // harmless
        DeleteGlContext(surface.rc);
    }
    // The card texture rejects bad bitmaps and binds nothing in the gain display.
    std::vector<std::uint8_t> bytes(CardAtlasResource().begin(), CardAtlasResource().end());
    EXPECT_FALSE(LoadCardTextureFrom({}));
    EXPECT_FALSE(LoadCardTextureFrom(std::span(bytes).first(1000)));  // rows cut off
    bytes[14] = 32;                                                   // 32 bits per pixel
    EXPECT_FALSE(LoadCardTextureFrom(bytes));
    MakeGlSurface(appState.gainArea.surface, 8, 8);
    ASSERT_TRUE(LoadCardTexture());
    ASSERT_TRUE(MakeGlCurrent(appState.gainArea.surface.dc, appState.gainArea.surface.rc));
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);
    MakeGlCurrent(nullptr, nullptr);
}

// --- The card atlas ----------------------------------------------------------------------------

constexpr int N = CardAtlasCell;
constexpr std::uint32_t White = Rgb(255, 255, 255), Black = Rgb(0, 0, 0);
// The cells the drawing reads, by row from the top: 'w' on white, 'b' on black, '.' unread.
constexpr const char* Layout[8] = {"wwww", "wwww", "wwww", "wwww", "w...", "..bb", "....", "...."};

// A cell's pixels that pass a test, its ink box (pixels unlike its background) and ink per
// column and row.
struct Cell {
    int column, row;
    int left = N, top = N, right = -1, bottom = -1;
    std::array<int, N> columns{}, rows{};
    std::uint32_t background() const { return Layout[row][column] == 'b' ? Black : White; }
    std::uint32_t at(int x, int y) const { return AtlasPixel(column * N + x, row * N + y); }
    int count(auto test) const
    {
        int n = 0;
        for (int y = 0; y < N; ++y)
            for (int x = 0; x < N; ++x)
                n += test(at(x, y)) ? 1 : 0;
        return n;
    }
    Cell(int c, int r) : column(c), row(r)
    {
        for (int y = 0; y < N; ++y)
            for (int x = 0; x < N; ++x)
                if (at(x, y) != background()) {
                    ++columns[x], ++rows[y];
                    left = std::min(left, x), right = std::max(right, x);
                    top = std::min(top, y), bottom = std::max(bottom, y);
                }
    }
    static Cell rank(int index) { return {index % 4, 1 + index / 4}; }  // 0 = A .. 12 = K
    int columnRuns() const
    {
        int runs = 0;
        for (int x = 0; x < N; ++x)
            runs += columns[x] && (x == 0 || !columns[x - 1]);
        return runs;
    }
};

TEST(CardAtlas, CellsShowLargeCentredUprightSymbolsInTheirColoursClearOfTheEdges)
{
    auto within = [](std::uint32_t lo, std::uint32_t hi) {  // every channel between lo and hi
        return [=](std::uint32_t p) {
            for (int shift : {0, 8, 16})
                if ((p >> shift & 0xFF) < (lo >> shift & 0xFF) ||
                    (p >> shift & 0xFF) > (hi >> shift & 0xFF))
                    return false;
            return true;
        };
    };
    for (int i = 0; i < 32; ++i) {
        const Cell c{i % 4, i / 4};
        if (Layout[c.row][c.column] == '.')
            continue;
        SCOPED_TRACE(testing::Message() << "cell " << c.column << "," << c.row);
        EXPECT_GE(std::min({c.left, c.top, N - 1 - c.right, N - 1 - c.bottom}), 2);
        EXPECT_GE(c.bottom - c.top + 1, 18);
        EXPECT_NEAR((c.left + c.right) / 2.0, 15.5, 2.0);
        EXPECT_NEAR((c.top + c.bottom) / 2.0, 15.5, 3.0);
        if (c.background() == Black) {  // the playing face (column 2) green, the idle one red
            EXPECT_GT(c.count(within(Rgb(201, 151, 0), Rgb(255, 255, 99))), 150) << "yellow";
            const int green = c.count(within(Rgb(0, 141, 0), Rgb(89, 255, 109)));
            const int red = c.count(within(Rgb(151, 0, 0), Rgb(255, 89, 89)));
            EXPECT_GT(c.column == 2 ? green : red, 15);
            EXPECT_EQ(c.column == 2 ? red : green, 0);
            continue;
        }
        const bool red = c.row == 0 && (c.column == 1 || c.column == 2);  // diamonds, hearts
        const int black = c.count(within(Black, Rgb(63, 63, 63)));
        const int solidRed = c.count(within(Rgb(161, 0, 0), Rgb(255, 63, 63)));
        EXPECT_GT(red ? solidRed : black, c.row == 0 ? 150 : 60);
        EXPECT_EQ(red ? black : solidRed, 0);
        EXPECT_EQ(c.count([red](std::uint32_t p) {  // antialiasing: white into red or black only
            return GreenOf(p) == BlueOf(p) &&
                   (red ? RedOf(p) >= std::max(GreenOf(p), 160) : RedOf(p) == GreenOf(p));
        }),
                  N * N);
    }
    for (int rank = 0; rank < 13; ++rank)  // the 10 alone is two runs of columns
        EXPECT_EQ(Cell::rank(rank).columnRuns(), rank == 9 ? 2 : 1) << rank;
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

// Linear filtering reads a texel beyond a quad's edge, wrapping at the atlas's edges.
TEST(CardAtlas, TexelsAroundTheReadCellsContinueTheirBackground)
{
    const int w = CardAtlasWidth, h = CardAtlasHeight;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int around = 0;  // 1 for a white read cell, 2 for a black one
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const char kind = Layout[(y + dy + h) % h / N][(x + dx + w) % w / N];
                    around |= kind == 'w' ? 1 : kind == 'b' ? 2 : 0;
                }
            if (Layout[y / N][x / N] == '.' && (around == 1 || around == 2)) {
                ASSERT_EQ(AtlasPixel(x, y), around == 2 ? Black : White) << "at " << x << "," << y;
            }
        }
}

}  // namespace
