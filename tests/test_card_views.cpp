// The card views drawn by Mesa on headless surfaces: grid, rows, picking, the selection window.
#include "platform/headless/headless.h"
#include "render/card_views.h"
#include "render/gl_surface.h"
#include "resources/control_ids.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/shell_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace {

constexpr int RowWidth = 212, RowHeight = 67;     // the main dialog's hole and table controls
constexpr int GridWidth = 400, GridHeight = 180;  // the card selection window's client area

// A card's cell in the grid, in normalised coordinates; cards are suit * 13 + rank (clubs 0 ..
// spades 3, ace 0 .. king 12), suits in rows from the bottom.
struct Rect {
    double left, bottom, right, top;
};
Rect Cell(Card card)
{
    const SelectionGridLayout& g = selectionGrid;
    const double left = -1 + g.left + (card % 13) * (g.cardWidth + g.columnGap);
    const double bottom = -1 + g.bottom + (card / 13) * (g.cardHeight + g.rowGap);
    return {left, bottom, left + g.cardWidth, bottom + g.cardHeight};
}
MessageParams CellCentre(Card card)
{
    const Rect r = Cell(card);
    return {.x = PixelColumn((r.left + r.right) / 2, GridWidth),
            .y = PixelRow((r.bottom + r.top) / 2, GridHeight)};
}

// Summed colour distance between a grid rectangle (less a two-pixel rim) and the atlas cell of
// rank i (0 .. 12) or of suit i - 13 (13 .. 16).
long CellDistance(Window grid, Rect r, int i)
{
    const std::array cell = i < 13 ? std::array{i % 4, 1 + i / 4} : std::array{i - 13, 0};
    long sum = 0;
    for (int y = PixelRow(r.top, GridHeight) + 2; y <= PixelRow(r.bottom, GridHeight) - 2; ++y)
        for (int x = PixelColumn(r.left, GridWidth) + 2; x <= PixelColumn(r.right, GridWidth) - 2;
             ++x) {
            const double fx = (CentreX(x, GridWidth) - r.left) / (r.right - r.left);
            const double fy = (r.top - CentreY(y, GridHeight)) / (r.top - r.bottom);
            sum += ColourDistance(HeadlessPixel(grid, x, y),
                                  AtlasPixel(32 * cell[0] + static_cast<int>(fx * 32),
                                             32 * cell[1] + static_cast<int>(fy * 32)));
        }
    return sum;
}

// A row view shows exactly these cards, left to right, apart, centred in the view.
void ExpectRow(Window view, CardView which, const std::vector<Card>& cards)
{
    std::vector<std::pair<int, int>> runs;  // non-black columns along the middle row
    for (int x = 0; x < RowWidth; ++x)
        if (HeadlessPixel(view, x, RowHeight / 2) != 0u) {
            if (runs.empty() || runs.back().second != x - 1)
                runs.push_back({x, x});
            runs.back().second = x;
        }
    ASSERT_EQ(runs.size(), cards.size());
    for (std::size_t i = 0; i < cards.size(); ++i) {
        EXPECT_EQ(PickCard((runs[i].first + runs[i].second) / 2, RowHeight / 2, which), cards[i]);
        EXPECT_EQ(PickCard(runs[i].first - 2, RowHeight / 2, which), NoCard) << "before " << i;
    }
    const InkBox ink = FindInk(view, 0);
    EXPECT_NEAR(ink.left + ink.right, RowWidth - 1, 2);
    EXPECT_NEAR(ink.top + ink.bottom, RowHeight - 1, 2);
}

class CardViewsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog = StartMainDialog();
        grid = OpenSelectionWindow();
        ASSERT_NE(grid, nullptr);
    }
    void ClickInGrid(Card card)
    {
        SendWindowMessage(grid, Message::MouseMove, CellCentre(card));
        SendWindowMessage(grid, Message::LeftUp, CellCentre(card));
    }

    Window dialog = nullptr, grid = nullptr;
};

}  // namespace

TEST_F(CardViewsTest, TheGridShowsEveryCardInItsCellAndClicksFillTheHoleBeforeTheBoard)
{
    DrawSelectionGrid();
    // Each cell's upper half is most like its rank's atlas cell, the lower half its suit's.
    for (Card card = 0; card < 52; ++card) {
        const Rect r = Cell(card);
        const double middle = (r.bottom + r.top) / 2, rim = 0.015 * (r.top - r.bottom);
        auto closest = [&](Rect half, int first, int last) {
            std::vector<long> d;
            for (int i = first; i < last; ++i)
                d.push_back(CellDistance(grid, half, i));
            return first + (std::ranges::min_element(d) - d.begin());
        };
        EXPECT_EQ(closest({r.left, middle + rim, r.right, r.top}, 0, 13), card % 13) << card;
        EXPECT_EQ(closest({r.left, r.bottom, r.right, middle - rim}, 13, 17), 13 + card / 13)
            << card;
    }

    const Card order[] = {39, 51, 27, 15, 3, 4, 35};
    for (Card card : order)
        ClickInGrid(card);
    EXPECT_EQ(appState.holeCards, (std::array<Card, 4>{39, 51, NoCard, NoCard}));
    EXPECT_EQ(appState.tableCards, (std::array<Card, 5>{27, 15, 3, 4, 35}));
    for (Card card : order)  // placed cards leave black cells
        EXPECT_EQ(HeadlessPixel(grid, CellCentre(card).x, CellCentre(card).y), 0u) << card;
    EXPECT_NE(HeadlessPixel(grid, CellCentre(24).x, CellCentre(24).y), 0u);
}

TEST_F(CardViewsTest, RowsShowTheVariantsSlotsCentredAndTintTheHoveredCard)
{
    const Window hand = ControlWindow(dialog, HandCardsControl);
    const Window table = ControlWindow(dialog, TableCardsControl);
    appState.holeCards = {39, 38, 18, NoCard};
    appState.tableCards = {1, 2, 3, 4, 5};
    DrawCardAreas();
    ExpectRow(hand, HandView, {39, 38});  // Texas: two hole slots
    ExpectRow(table, TableView, {1, 2, 3, 4, 5});

    appState.gameVariant = OmahaHoldem;
    appState.holeCards[3] = 22;
    appState.tableCards = {NoCard, 7, NoCard, NoCard, NoCard};
    DrawCardAreas();
    ExpectRow(hand, HandView, {39, 38, 18, 22});
    ExpectRow(table, TableView, {7});

    // The hovered card's white turns green; the others stay white.
    const InkBox ink = FindInk(hand, 0);
    const int y = ink.top + 1, second = ink.left + (ink.right - ink.left) * 3 / 8;
    auto shown = [&](int x) { return HeadlessPixel(hand, x, y); };
    ASSERT_EQ(shown(second), Rgb(255, 255, 255));
    appState.hoveredCard[HandView] = 38;
    DrawCardAreas();
    EXPECT_GT(GreenOf(shown(second)), RedOf(shown(second)) + 50);
    EXPECT_EQ(shown(ink.left + 1), Rgb(255, 255, 255));
}

TEST_F(CardViewsTest, TheSelectionWindowFollowsItsSizeQuitsAndReleasesItsContext)
{
    HeadlessResizeWindow(grid, 1, 1);  // shrunk and restored, it draws and picks everywhere again
    HeadlessResizeWindow(grid, GridWidth, GridHeight);
    HeadlessExposeGl(grid);
    EXPECT_NE(HeadlessPixel(grid, CellCentre(51).x, CellCentre(51).y), 0u);
    ClickInGrid(51);
    EXPECT_EQ(appState.holeCards[0], 51);

    for (int id : {7, 1, 2}) {  // OK and Cancel end the program with 2
        EXPECT_EQ(SendWindowMessage(grid, Message::Command, {.id = id}), id == 7 ? 0 : 1);
        EXPECT_EQ(RunMessageLoop(nullptr), id == 7 ? -1 : 2);
    }

    HeadlessClickClose(grid);
    EXPECT_EQ(appState.selectionSurface.rc, nullptr);
    DrawSelectionGrid();  // the main dialog still asks for it
    EXPECT_EQ(CurrentGlContext(), nullptr);
}
