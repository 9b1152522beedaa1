// The embedded card atlas, decoded independently of its generator.
#include "resources/card_atlas.h"
#include "tests/support/gl_fixture.h"

#include <gtest/gtest.h>

#include <array>
#include <numeric>
#include <vector>

namespace {

constexpr int N = CardAtlasCell;
constexpr std::uint32_t White = Rgb(255, 255, 255), Black = Rgb(0, 0, 0);

// The cells the drawing reads, by row from the top: 'w' on white, 'b' on black, '.' unread.
constexpr const char* Layout[8] = {"wwww", "wwww", "wwww", "wwww", "w...", "..bb", "....", "...."};

struct Cell {
    int column, row;
    std::uint32_t background() const { return Layout[row][column] == 'b' ? Black : White; }
    std::uint32_t at(int x, int y) const { return AtlasPixel(column * N + x, row * N + y); }
    static Cell rank(int index) { return {index % 4, 1 + index / 4}; }  // 0 = A .. 12 = K
    // The pixels that pass a test, or whose every channel lies between those of low and high.
    int count(auto test) const
    {
        int n = 0;
        for (int y = 0; y < N; ++y)
            for (int x = 0; x < N; ++x)
                n += test(at(x, y)) ? 1 : 0;
        return n;
    }
    int count(std::uint32_t low, std::uint32_t high) const
    {
        return count([&](std::uint32_t p) {
            for (int shift : {0, 8, 16})
                if ((p >> shift & 0xFF) < (low >> shift & 0xFF) ||
                    (p >> shift & 0xFF) > (high >> shift & 0xFF))
                    return false;
            return true;
        });
    }
};

// Where a cell differs from its background: its box, and the ink per column and per row.
struct Ink {
    int left = N, top = N, right = -1, bottom = -1;
    std::array<int, N> columns{}, rows{};
};

Ink InkOf(const Cell& cell)
{
    Ink ink;
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x)
            if (cell.at(x, y) != cell.background()) {
                ++ink.columns[x], ++ink.rows[y];
                ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y), ink.bottom = std::max(ink.bottom, y);
            }
    return ink;
}

// The lengths of the runs of non-zero values.
std::vector<int> Runs(std::span<const int> values)
{
    std::vector<int> runs;
    for (std::size_t i = 0; i < values.size(); ++i)
        if (values[i] && (i == 0 || !values[i - 1]))
            runs.push_back(1);
        else if (values[i])
            ++runs.back();
    return runs;
}

}  // namespace

TEST(CardAtlas, CellsShowLargeCentredSymbolsInTheirColoursClearOfTheEdges)
{
    for (int i = 0; i < 32; ++i) {
        const Cell c{i % 4, i / 4};
        if (Layout[c.row][c.column] == '.')
            continue;
        SCOPED_TRACE(testing::Message() << "cell " << c.column << "," << c.row);
        for (int y = 0; y < N; ++y)
            for (int x = 0; x < N; ++x)
                if (x < 2 || y < 2 || x >= N - 2 || y >= N - 2) {
                    ASSERT_EQ(c.at(x, y), c.background()) << "at " << x << "," << y;
                }
        const Ink ink = InkOf(c);
        EXPECT_GE(ink.bottom - ink.top + 1, 18);
        EXPECT_NEAR((ink.left + ink.right) / 2.0, 15.5, 2.0);
        EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 15.5, 3.0);
        if (c.background() == Black) {  // the playing face (column 2) green, the idle one red
            EXPECT_GT(c.count(Black, Black), 300);
            EXPECT_GT(c.count(Rgb(201, 151, 0), Rgb(255, 255, 99)), 150) << "a yellow face";
            const int green = c.count(Rgb(0, 141, 0), Rgb(89, 255, 109));
            const int red = c.count(Rgb(151, 0, 0), Rgb(255, 89, 89));
            EXPECT_GT(c.column == 2 ? green : red, 15);
            EXPECT_EQ(c.column == 2 ? red : green, 0);
            continue;
        }
        const bool red = c.row == 0 && (c.column == 1 || c.column == 2);  // diamonds, hearts
        const int black = c.count(Black, Rgb(63, 63, 63));
        const int solidRed = c.count(Rgb(161, 0, 0), Rgb(255, 63, 63));
        EXPECT_GT(c.count(White, White), 512);
        EXPECT_GT(red ? solidRed : black, c.row == 0 ? 150 : 60);
        EXPECT_EQ(red ? black : solidRed, 0);
        auto blend = [red](std::uint32_t p) {  // antialiasing: white into red or black only
            return GreenOf(p) == BlueOf(p) &&
                   (red ? RedOf(p) >= std::max(GreenOf(p), 160) : RedOf(p) == GreenOf(p));
        };
        EXPECT_EQ(c.count(blend), N * N);
    }
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

TEST(CardAtlas, TheTenIsTwoDigitsAndGlyphsStandUprightAndUnmirrored)
{
    const Cell tenCell = Cell::rank(9);
    const Ink ten = InkOf(tenCell);
    const std::vector<int> runs = Runs(ten.columns);
    ASSERT_EQ(runs.size(), 2u) << "a white column between the digits";
    EXPECT_GE(std::min(runs[0], runs[1]), 5);
    const int middle = (ten.top + ten.bottom) / 2, split = ten.left + runs[0];
    int starts[2] = {};  // across the middle the 1 is one stem, the 0 two sides
    for (int x = 1; x < N; ++x)
        starts[x >= split] += tenCell.at(x, middle) != White && tenCell.at(x - 1, middle) == White;
    EXPECT_EQ(starts[0], 1);
    EXPECT_EQ(starts[1], 2);
    for (int rank = 0; rank < 13; ++rank)  // every other rank is one run of columns
        EXPECT_EQ(Runs(InkOf(Cell::rank(rank)).columns).size(), rank == 9 ? 2u : 1u) << rank;

    const Ink seven = InkOf(Cell::rank(6)), ace = InkOf(Cell::rank(0)), heart = InkOf({2, 0});
    EXPECT_GT(seven.rows[seven.top + 1], 2 * seven.rows[seven.bottom - 1]) << "the 7's bar on top";
    EXPECT_LT(ace.rows[ace.top], ace.rows[ace.bottom]) << "the apex of the A on top";
    EXPECT_GT(heart.rows[heart.top + (heart.bottom - heart.top) / 4],
              2 * heart.rows[heart.bottom - 2])
        << "the point of the heart at the bottom";
    const auto jack = InkOf(Cell::rank(10)).columns;  // the J's hook opens to the left
    EXPECT_GT(std::accumulate(jack.begin() + N / 2, jack.end(), 0),
              std::accumulate(jack.begin(), jack.begin() + N / 2, 0));
}
