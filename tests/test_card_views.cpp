// The card views drawn by Mesa on headless surfaces: grid and rows, picking, slot filling, and
// the card selection window's procedure.
#include "odds/screen.h"
#include "platform/headless/headless.h"
#include "render/card_views.h"
#include "render/gl_surface.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/shell_fixture.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <vector>

namespace {

constexpr int RowWidth = 212, RowHeight = 67;     // the main dialog's hole and table controls
constexpr int GridWidth = 400, GridHeight = 180;  // the card selection window's client area

// Cards are suit * 13 + rank (clubs 0 .. spades 3, ace 0 .. king 12).
double CellLeft(Card card)
{
    const SelectionGridLayout& g = selectionGrid;
    return -1 + g.left + (card % 13) * (g.cardWidth + g.columnGap);
}
double CellBottom(Card card)
{
    const SelectionGridLayout& g = selectionGrid;
    return -1 + g.bottom + (card / 13) * (g.cardHeight + g.rowGap);
}
MessageParams CellCentre(Card card)
{
    return {.x = PixelColumn(CellLeft(card) + selectionGrid.cardWidth / 2, GridWidth),
            .y = PixelRow(CellBottom(card) + selectionGrid.cardHeight / 2, GridHeight)};
}

class CardViewsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog = StartMainDialog();
        hand = ControlWindow(dialog, HandCardsControl);
        table = ControlWindow(dialog, TableCardsControl);
    }
    void OpenGrid(GlFailure failure = GlFailure::None)
    {
        HeadlessFailGl(failure);
        grid = OpenSelectionWindow();
        HeadlessFailGl(GlFailure::None);
        ASSERT_NE(grid, nullptr);
    }
    void ClickInGrid(Card card)
    {
        SendWindowMessage(grid, Message::MouseMove, CellCentre(card));
        SendWindowMessage(grid, Message::LeftUp, CellCentre(card));
    }

    Window dialog = nullptr, hand = nullptr, table = nullptr, grid = nullptr;
};

// Summed colour distance between a grid rectangle (less a two-pixel rim) and an atlas cell.
long CellDistance(Window grid, double left, double bottom, double right, double top,
                  std::array<int, 2> cell, bool flipped = false)
{
    long sum = 0;
    for (int y = PixelRow(top, GridHeight) + 2; y <= PixelRow(bottom, GridHeight) - 2; ++y)
        for (int x = PixelColumn(left, GridWidth) + 2; x <= PixelColumn(right, GridWidth) - 2;
             ++x) {
            const double fx = (CentreX(x, GridWidth) - left) / (right - left);
            const double fy = (top - CentreY(y, GridHeight)) / (top - bottom);
            sum += ColourDistance(
                HeadlessPixel(grid, x, y),
                AtlasPixel(32 * cell[0] + static_cast<int>(fx * 32),
                           32 * cell[1] + static_cast<int>((flipped ? 1 - fy : fy) * 32)));
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
        if (i > 0) {
            EXPECT_EQ(PickCard(runs[i].first - 2, RowHeight / 2, which), NoCard) << "gap " << i;
        }
    }
    const InkBox ink = FindInk(view, 0);
    EXPECT_NEAR(ink.left + ink.right, RowWidth - 1, 2);
    EXPECT_NEAR(ink.top + ink.bottom, RowHeight - 1, 2);
}

}  // namespace

TEST_F(CardViewsTest, WithNoCardsTheRowsAreBlackAndTheGridShowsEveryCardUpright)
{
    OpenGrid();
    DrawCardAreas();
    DrawSelectionGrid();
    EXPECT_TRUE(FindInk(hand, 0).empty() && FindInk(table, 0).empty());
    // Each cell's upper half is most like its rank's atlas cell, the lower half its suit's.
    auto rankCell = [](int i) { return std::array{i % 4, 1 + i / 4}; };
    auto suitCell = [](int s) { return std::array{s, 0}; };
    const double h = selectionGrid.cardHeight;
    for (Card card = 0; card < 52; ++card) {
        const double left = CellLeft(card), right = left + selectionGrid.cardWidth;
        const double bottom = CellBottom(card), middle = bottom + 0.5 * h, top = bottom + h;
        auto closest = [&](int count, double low, double high, auto cellOf) {
            std::vector<long> d;
            for (int i = 0; i < count; ++i)
                d.push_back(CellDistance(grid, left, low, right, high, cellOf(i)));
            return std::min_element(d.begin(), d.end()) - d.begin();
        };
        EXPECT_EQ(closest(13, middle + 0.015 * h, top, rankCell), card % 13) << card;
        EXPECT_EQ(closest(4, bottom, middle - 0.015 * h, suitCell), card / 13) << card;
        if (card == 39 || card == 45 || card == 29) {  // A, 7, 4: clearly worse upside down
            const auto cell = rankCell(card % 13);
            EXPECT_LT(CellDistance(grid, left, middle, right, top, cell) * 2,
                      CellDistance(grid, left, middle, right, top, cell, true))
                << card;
        }
    }
}

TEST_F(CardViewsTest, RowsShowTheVariantsSlotsCentredAndTintTheHoveredCard)
{
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
    EXPECT_EQ(BlueOf(shown(second)), RedOf(shown(second)));
    EXPECT_EQ(shown(ink.left + 1), Rgb(255, 255, 255));
}

TEST_F(CardViewsTest, ClicksFillTheHoleBeforeTheBoardAndPlacedCellsGoBlack)
{
    OpenGrid();
    const Card order[] = {39, 51, 27, 15, 3, 4, 35};
    for (Card card : order)
        ClickInGrid(card);
    EXPECT_EQ(appState.holeCards, (std::array<Card, 4>{39, 51, NoCard, NoCard}));
    EXPECT_EQ(appState.tableCards, (std::array<Card, 5>{27, 15, 3, 4, 35}));
    appState.outcomeCounts = {3, 2, 1};  // every slot is full: the eighth click only refreshes
    const int paints = HeadlessPaintRequests(dialog);
    ClickInGrid(24);
    EXPECT_EQ(CardInUse(24), 0);
    EXPECT_EQ(appState.outcomeCounts.total(), 6);
    EXPECT_EQ(HeadlessPaintRequests(dialog), paints + 1);

    for (Card card : order)
        EXPECT_EQ(HeadlessPixel(grid, CellCentre(card).x, CellCentre(card).y), 0u) << card;
    EXPECT_NE(HeadlessPixel(grid, CellCentre(24).x, CellCentre(24).y), 0u);

    ChangeCard(27, false);  // a placed card's black cell is still picked, but not placed again
    ClickInGrid(39);
    EXPECT_EQ(appState.hoveredCard[SelectionView], 39);
    EXPECT_EQ(appState.tableCards[0], NoCard);
}

TEST_F(CardViewsTest, PlacingAndTakingBackFollowTheSlotOrder)
{
    appState.gameVariant = OmahaHoldem;
    for (Card card = 0; card < 5; ++card)
        ChangeCard(card, true);
    EXPECT_EQ(appState.holeCards, (std::array<Card, 4>{0, 1, 2, 3}));
    EXPECT_EQ(appState.tableCards[0], 4);
    appState.gameVariant = TexasHoldem;
    appState.holeCards = {10, 20, 40, NoCard};  // Texas never fills nor empties slot 2
    appState.tableCards = {NoCard, 41, NoCard, NoCard, NoCard};
    ChangeCard(10, false);
    ChangeCard(30, true);
    ChangeCard(40, false);
    EXPECT_EQ(appState.holeCards, (std::array<Card, 4>{30, 20, 40, NoCard}));
    EXPECT_EQ(CardInUse(40), 1);
    EXPECT_EQ(CardInUse(41), 2);
    const int paints = HeadlessPaintRequests(dialog);
    ChangeCard(NoCard, true);  // no card: not even a refresh
    ChangeCard(NoCard, false);
    EXPECT_EQ(HeadlessPaintRequests(dialog), paints);
}

TEST_F(CardViewsTest, PointsOutsideAViewPickNothingWithoutTouchingItsContext)
{
    // Whether PickCard made the context current: only then is a planted selection buffer replaced.
    const GlSurface& surface = appState.handCardsArea.surface;
    auto touchesGl = [&](int x, int y, Card& picked) {
        static GLuint sentinel[4];
        MakeGlCurrent(surface.dc, surface.rc);
        glSelectBuffer(4, sentinel);
        MakeGlCurrent(nullptr, nullptr);
        picked = PickCard(x, y, HandView);
        MakeGlCurrent(surface.dc, surface.rc);
        GLvoid* buffer = nullptr;
        glGetPointerv(GL_SELECTION_BUFFER_POINTER, &buffer);
        MakeGlCurrent(nullptr, nullptr);
        return buffer != sentinel;
    };
    appState.holeCards = {5, 6, NoCard, NoCard};
    for (auto [x, y, tested] : {std::array{-1, 10, 0},
                                {10, -1, 0},
                                {RowWidth + 1, 10, 0},
                                {10, RowHeight + 1, 0},
                                {INT_MIN, INT_MAX, 0},
                                {RowWidth, 10, 1},
                                {10, RowHeight, 1}}) {
        Card picked = 99;
        EXPECT_EQ(touchesGl(x, y, picked), tested == 1) << x << ", " << y;
        EXPECT_EQ(picked, NoCard);
        EXPECT_EQ(CurrentGlContext(), nullptr);
    }
    // Hit records: name count, minimum and maximum depth (unsigned), name. The nearest wins,
    // the earliest on ties; an overflowed buffer (-1 records) names nothing.
    const std::uint32_t records[] = {1, 0xFFFFFFF0u, 0xFFFFFFF0u, 7, 1, 500, 900, 8,
                                     1, 200,         300,         9, 1, 200, 200, 10};
    EXPECT_EQ(NearestHitName(records, 4), 9);
    EXPECT_EQ(NearestHitName(records, 1), 7);
    EXPECT_EQ(NearestHitName(records, 0), -1);
    EXPECT_EQ(NearestHitName(records, -1), -1);
}

TEST_F(CardViewsTest, TheSelectionWindowDrawsOnItsTimerFollowsItsSizeQuitsAndReleasesItsContext)
{
    OpenGrid();
    EXPECT_EQ(HeadlessPixel(grid, 2, 2), Rgb(255, 255, 255));  // white until timer 1 draws
    EXPECT_TRUE(HeadlessFireTimer(grid, 1));
    EXPECT_EQ(HeadlessPixel(grid, 2, 2), 0u);
    EXPECT_EQ(CurrentGlContext(), nullptr);

    HeadlessResizeWindow(grid, 1, 1);  // shrunk and restored, it draws and picks everywhere again
    EXPECT_EQ(appState.selectionSurface.width, 1);
    HeadlessFireTimer(grid, 1);
    HeadlessResizeWindow(grid, GridWidth, GridHeight);
    HeadlessExposeGl(grid);
    const InkBox ink = FindInk(grid, 0);
    EXPECT_LE(ink.left, PixelColumn(CellLeft(0), GridWidth) + 1);
    EXPECT_GE(ink.bottom, PixelRow(CellBottom(0), GridHeight) - 1);
    SendWindowMessage(grid, Message::MouseMove, CellCentre(51));
    SendWindowMessage(grid, Message::RightUp, CellCentre(51));  // does nothing
    EXPECT_EQ(appState.hoveredCard[SelectionView], 51);
    EXPECT_EQ(appState.holeCards[0], NoCard);

    MessageParams command;
    for (int id : {7, 1, 2}) {
        command.id = id;
        EXPECT_EQ(SendWindowMessage(grid, Message::Command, command), id == 7 ? 0 : 1);
        EXPECT_EQ(RunMessageLoop(nullptr), id == 7 ? -1 : 2);
    }

    ClickInGrid(26);
    HeadlessClickClose(grid);
    EXPECT_FALSE(HeadlessWindowExists(grid));
    EXPECT_EQ(appState.selectionSurface.rc, nullptr);
    EXPECT_FALSE(HeadlessFireTimer(grid, 1));
    DrawSelectionGrid();  // the main dialog still asks for it
    HeadlessExposeGl(grid);
    EXPECT_EQ(CurrentGlContext(), nullptr);
    EXPECT_EQ(PickCard(CellCentre(1).x, CellCentre(1).y, SelectionView), NoCard);
    DrawCardAreas();  // the placed card can still be taken back from the hand view
    EXPECT_EQ(PickCard(RowWidth / 2, RowHeight / 2, HandView), 26);
}

TEST_F(CardViewsTest, WithoutAContextTheSelectionWindowStillWorksButShowsAndPicksNothing)
{
    OpenGrid(GlFailure::CreateContext);
    EXPECT_EQ(HeadlessMessageBoxes().size(), 1u);
    EXPECT_TRUE(HeadlessFireTimer(grid, 1));
    EXPECT_EQ(HeadlessPixel(grid, 2, 2), Rgb(255, 255, 255));
    ClickInGrid(0);
    EXPECT_EQ(appState.hoveredCard[SelectionView], NoCard);
    EXPECT_EQ(appState.holeCards[0], NoCard);
    HeadlessResizeWindow(grid, 200, 100);
    EXPECT_EQ(appState.selectionSurface.width, 200);
}
