// The embedded card atlas, decoded here independently of its generator: the header the
// texture upload relies on, the bottom-up row order, and what each cell that the card and icon
// drawing reads actually shows.
#include "resources/card_atlas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

struct Pixel {
    int r, g, b;
    bool operator==(const Pixel&) const = default;
};

constexpr Pixel White{255, 255, 255};
constexpr Pixel Black{0, 0, 0};

std::int64_t Le(std::span<const std::uint8_t> bytes, int offset, int size)
{
    std::uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i)
        v = (v << 8) | bytes[static_cast<std::size_t>(offset + i)];
    return size == 4 ? static_cast<std::int32_t>(v) : static_cast<std::int64_t>(v);
}

// Pixel (x, y) of the picture, y counted from the top; the file stores the bottom row first.
Pixel At(int x, int y)
{
    const std::uint8_t* p = CardAtlasResource().data() + CardAtlasHeaderSize +
                            (CardAtlasHeight - 1 - y) * CardAtlasWidth * 3 + x * 3;
    return {p[2], p[1], p[0]};
}

// Pixel (x, y) of a cell, both from the cell's top-left corner.
Pixel InCell(int column, int row, int x, int y)
{
    return At(column * CardAtlasCell + x, row * CardAtlasCell + y);
}

struct CellRef {
    int column, row;
    std::string name;
    Pixel background;
};

std::vector<CellRef> SuitCells()
{
    return {{0, 0, "clubs", White},
            {1, 0, "diamonds", White},
            {2, 0, "hearts", White},
            {3, 0, "spades", White}};
}

std::vector<CellRef> RankCells()
{
    const char* names[13] = {"A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"};
    std::vector<CellRef> cells;
    for (int i = 0; i < 13; ++i)
        cells.push_back({i % 4, 1 + i / 4, names[i], White});
    return cells;
}

std::vector<CellRef> FaceCells()
{
    return {{2, 5, "playing face", Black}, {3, 5, "idle face", Black}};
}

std::vector<CellRef> ReadCells()
{
    std::vector<CellRef> cells = SuitCells();
    for (auto list : {RankCells(), FaceCells()})
        cells.insert(cells.end(), list.begin(), list.end());
    return cells;
}

bool IsReadCell(int column, int row)
{
    for (const CellRef& cell : ReadCells())
        if (cell.column == column && cell.row == row)
            return true;
    return false;
}

// Whether texel (x, y) of the atlas touches, sideways or diagonally, a read cell whose
// background is not the given one.
bool NextToOtherBackground(int x, int y, Pixel background)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            int nx = (x + dx + CardAtlasWidth) % CardAtlasWidth;
            int ny = (y + dy + CardAtlasHeight) % CardAtlasHeight;
            for (const CellRef& cell : ReadCells())
                if (cell.column == nx / CardAtlasCell && cell.row == ny / CardAtlasCell &&
                    !(cell.background == background))
                    return true;
        }
    return false;
}

// Where a cell differs from its background.
struct Ink {
    int count = 0;
    int left = 99, top = 99, right = -1, bottom = -1;  // inclusive box
    std::vector<int> columnCount = std::vector<int>(CardAtlasCell, 0);
    std::vector<int> rowCount = std::vector<int>(CardAtlasCell, 0);
};

Ink InkOf(const CellRef& cell)
{
    Ink ink;
    for (int y = 0; y < CardAtlasCell; ++y)
        for (int x = 0; x < CardAtlasCell; ++x) {
            if (InCell(cell.column, cell.row, x, y) == cell.background)
                continue;
            ++ink.count;
            ++ink.columnCount[static_cast<std::size_t>(x)];
            ++ink.rowCount[static_cast<std::size_t>(y)];
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y);
        }
    return ink;
}

int CountIf(const CellRef& cell, bool (*test)(Pixel))
{
    int n = 0;
    for (int y = 0; y < CardAtlasCell; ++y)
        for (int x = 0; x < CardAtlasCell; ++x)
            n += test(InCell(cell.column, cell.row, x, y)) ? 1 : 0;
    return n;
}

bool IsSolidBlack(Pixel p)
{
    return p.r < 64 && p.g < 64 && p.b < 64;
}
bool IsSolidRed(Pixel p)
{
    return p.r > 160 && p.g < 64 && p.b < 64;
}
bool IsGrey(Pixel p)
{
    return p.r == p.g && p.g == p.b;
}
bool IsWhiteToRed(Pixel p)
{
    return p.g == p.b && p.r >= p.g && p.r >= 160;
}
bool IsGreen(Pixel p)
{
    return p.g > 140 && p.r < 90 && p.b < 110;
}
bool IsRed(Pixel p)
{
    return p.r > 150 && p.g < 90 && p.b < 90;
}
bool IsYellow(Pixel p)
{
    return p.r > 200 && p.g > 150 && p.b < 100;
}
bool IsWhite(Pixel p)
{
    return p == White;
}
bool IsBlack(Pixel p)
{
    return p == Black;
}

// Widths of the runs of ink columns, left to right.
std::vector<int> ColumnRuns(const Ink& ink)
{
    std::vector<int> runs;
    int run = 0;
    for (int n : ink.columnCount) {
        if (n > 0) {
            ++run;
        } else if (run > 0) {
            runs.push_back(run);
            run = 0;
        }
    }
    if (run > 0)
        runs.push_back(run);
    return runs;
}

// Number of separate runs of ink in row y of a cell between columns from and to (exclusive).
int InkRunsInRow(const CellRef& cell, int y, int from, int to)
{
    int runs = 0;
    bool inside = false;
    for (int x = from; x < to; ++x) {
        bool ink = InCell(cell.column, cell.row, x, y) != cell.background;
        runs += ink && !inside ? 1 : 0;
        inside = ink;
    }
    return runs;
}

// Number of ink pixels in one row of a cell.
int RowWidth(const CellRef& cell, int y)
{
    int n = 0;
    for (int x = 0; x < CardAtlasCell; ++x)
        n += InCell(cell.column, cell.row, x, y) == cell.background ? 0 : 1;
    return n;
}

}  // namespace

TEST(CardAtlas, ResourceIsAPackedBottomUpDibOf24BitPixels)
{
    std::span<const std::uint8_t> dib = CardAtlasResource();
    // The header and 256 rows of 384 bytes, nothing else: 384 is already a multiple of 4, the
    // row alignment the texture upload assumes.
    ASSERT_EQ(dib.size(), 98344u);
    EXPECT_EQ(Le(dib, 0, 4), 40);   // biSize: a BITMAPINFOHEADER, no file header before it
    EXPECT_EQ(Le(dib, 4, 4), 128);  // biWidth
    EXPECT_EQ(Le(dib, 8, 4), 256);  // biHeight, positive: bottom row first
    EXPECT_EQ(Le(dib, 12, 2), 1);   // biPlanes
    EXPECT_EQ(Le(dib, 14, 2), 24);  // biBitCount
    EXPECT_EQ(Le(dib, 16, 4), 0);   // biCompression: BI_RGB
    EXPECT_TRUE(Le(dib, 20, 4) == 0 || Le(dib, 20, 4) == 98304);  // biSizeImage
    EXPECT_EQ(Le(dib, 32, 4), 0);  // biClrUsed: so no colour table follows
}

TEST(CardAtlas, SuitCellsShowBlackClubsAndSpadesAndRedDiamondsAndHearts)
{
    for (const CellRef& cell : SuitCells()) {
        SCOPED_TRACE(cell.name);
        const bool red = cell.column == 1 || cell.column == 2;
        EXPECT_GT(CountIf(cell, IsWhite), 512) << "mostly white background";
        if (red) {
            EXPECT_GT(CountIf(cell, IsSolidRed), 150);
            EXPECT_EQ(CountIf(cell, IsSolidBlack), 0);
            // Antialiased edges blend white into red and nothing else.
            EXPECT_EQ(CountIf(cell, IsWhiteToRed), CardAtlasCell * CardAtlasCell);
        } else {
            EXPECT_GT(CountIf(cell, IsSolidBlack), 150);
            EXPECT_EQ(CountIf(cell, IsSolidRed), 0);
            EXPECT_EQ(CountIf(cell, IsGrey), CardAtlasCell * CardAtlasCell);
        }
    }
}

TEST(CardAtlas, RankCellsShowBlackGlyphsOnWhite)
{
    for (const CellRef& cell : RankCells()) {
        SCOPED_TRACE(cell.name);
        EXPECT_GT(CountIf(cell, IsWhite), 512);
        EXPECT_GT(CountIf(cell, IsSolidBlack), 60);
        EXPECT_EQ(CountIf(cell, IsGrey), CardAtlasCell * CardAtlasCell) << "only greys";
    }
}

// Linear filtering samples up to a texel beyond a quad's edge, and the card quads cover their
// cells exactly: ink must stay off the border, and what lies just outside a cell (around the
// atlas's edges too, where the texture wraps) must be the cell's own background.
TEST(CardAtlas, SymbolsAreLargeCentredAndClearOfTheCellEdges)
{
    for (const CellRef& cell : ReadCells()) {
        SCOPED_TRACE(cell.name);
        for (int y = 0; y < CardAtlasCell; ++y)
            for (int x = 0; x < CardAtlasCell; ++x)
                if (x < 2 || y < 2 || x >= CardAtlasCell - 2 || y >= CardAtlasCell - 2) {
                    ASSERT_EQ(InCell(cell.column, cell.row, x, y), cell.background)
                        << "at " << x << "," << y;
                }
        Ink ink = InkOf(cell);
        EXPECT_GE(ink.bottom - ink.top + 1, 18) << "tall enough to read";
        EXPECT_NEAR((ink.left + ink.right) / 2.0, 15.5, 2.0);
        EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 15.5, 3.0);

        // Every unread texel along the cell's outline continues its background, except where
        // read cells of both backgrounds meet at one texel (the K, and the idle face across the
        // wrap).
        for (int i = -1; i <= CardAtlasCell; ++i)
            for (auto [x, y] :
                 {std::pair{i, -1}, {i, CardAtlasCell}, {-1, i}, {CardAtlasCell, i}}) {
                int ax = (cell.column * CardAtlasCell + x + CardAtlasWidth) % CardAtlasWidth;
                int ay = (cell.row * CardAtlasCell + y + CardAtlasHeight) % CardAtlasHeight;
                if (IsReadCell(ax / CardAtlasCell, ay / CardAtlasCell) ||
                    NextToOtherBackground(ax, ay, cell.background))
                    continue;
                ASSERT_EQ(At(ax, ay), cell.background) << "neighbour texel " << x << "," << y;
            }
    }
}

TEST(CardAtlas, TheTenIsTwoSeparateDigitsOneThenZero)
{
    const CellRef cell{1, 3, "10", White};
    Ink ten = InkOf(cell);
    std::vector<int> runs = ColumnRuns(ten);
    ASSERT_EQ(runs.size(), 2u) << "a white column between the digits";
    EXPECT_GE(runs[0], 5);
    EXPECT_GE(runs[1], 5);

    // Across the middle the 1 is a single stem and the 0 two sides around its counter.
    const int middle = (ten.top + ten.bottom) / 2;
    const int split = ten.left + runs[0];
    EXPECT_EQ(InkRunsInRow(cell, middle, 0, split), 1);
    EXPECT_EQ(InkRunsInRow(cell, middle, split, CardAtlasCell), 2);

    // Every other rank is one connected run of columns.
    for (const CellRef& cell : RankCells()) {
        if (cell.name != "10") {
            SCOPED_TRACE(cell.name);
            EXPECT_EQ(ColumnRuns(InkOf(cell)).size(), 1u);
        }
    }
}

// Catches a picture turned upside down or mirrored inside its cells, which the colour checks
// would not see.
TEST(CardAtlas, GlyphsStandUprightAndUnmirrored)
{
    const CellRef seven{2, 2, "7", White};
    Ink ink7 = InkOf(seven);
    EXPECT_GT(RowWidth(seven, ink7.top + 1), 2 * RowWidth(seven, ink7.bottom - 1))
        << "the bar of the 7 is at the top";

    const CellRef ace{0, 1, "A", White};
    Ink inkA = InkOf(ace);
    EXPECT_LT(RowWidth(ace, inkA.top), RowWidth(ace, inkA.bottom)) << "the apex of the A on top";

    const CellRef heart{2, 0, "hearts", White};
    Ink inkH = InkOf(heart);
    int height = inkH.bottom - inkH.top;
    EXPECT_GT(RowWidth(heart, inkH.top + height / 4), 2 * RowWidth(heart, inkH.bottom - 2))
        << "the point of the heart at the bottom";

    // The J's hook opens to the left: more ink in the right half of the cell than the left.
    Ink inkJ = InkOf({2, 3, "J", White});
    int leftHalf = 0, rightHalf = 0;
    for (int x = 0; x < CardAtlasCell; ++x)
        (x < CardAtlasCell / 2 ? leftHalf : rightHalf) +=
            inkJ.columnCount[static_cast<std::size_t>(x)];
    EXPECT_GT(rightHalf, leftHalf);
}

TEST(CardAtlas, PlayerFacesStandOnBlackWithAGreenOrARedMark)
{
    const CellRef playing = FaceCells()[0];
    const CellRef idle = FaceCells()[1];
    for (const CellRef& cell : FaceCells()) {
        SCOPED_TRACE(cell.name);
        EXPECT_GT(CountIf(cell, IsBlack), 300) << "a black background";
        EXPECT_GT(CountIf(cell, IsYellow), 150) << "a face";
    }
    EXPECT_GT(CountIf(playing, IsGreen), 15);
    EXPECT_EQ(CountIf(playing, IsRed), 0);
    EXPECT_GT(CountIf(idle, IsRed), 15);
    EXPECT_EQ(CountIf(idle, IsGreen), 0);
}
