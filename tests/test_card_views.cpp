// The card views drawn by Mesa on headless surfaces: grid and rows, picking, slot filling, and
// the card selection window's procedure.
#include "odds/screen.h"
#include "platform/headless/headless.h"
#include "render/card_views.h"
#include "render/gl_surface.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/view_pixels.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <vector>

namespace {

constexpr int RowWidth = 212, RowHeight = 67;     // the main dialog's hole and table controls
constexpr int GridWidth = 400, GridHeight = 180;  // the card selection window's client area
constexpr double CellWidth = 1.54 / 13, CellHeight = 0.43;

// Cards are suit * 13 + rank (clubs 0 .. spades 3, ace 0 .. king 12).
class CardViewsTest : public ::testing::Test {
protected:
    static double CellLeft(Card card) { return -0.95 + (card % 13) * (CellWidth + 0.03); }
    static double CellBottom(Card card) { return -0.95 + (card / 13) * (CellHeight + 0.06); }
    static MessageParams CellCentre(Card card)
    {
        return {.x = PixelColumn(CellLeft(card) + CellWidth / 2, GridWidth),
                .y = PixelRow(CellBottom(card) + CellHeight / 2, GridHeight)};
    }
    void SetUp() override
    {
        HeadlessReset();
        HeadlessFailGl(GlFailure::None);
        ResetAppState(appState);
        ASSERT_TRUE(HeadlessGlAvailable()) << "Mesa's surfaceless EGL display is missing";
        appState.mainDialog = dialog = HeadlessCreateWindow(nullptr, 560, 480);
        for (int id : {WinShareControl, TieShareControl, LossShareControl, HandTypeControl})
            HeadlessAddControl(dialog, id, 0, 0, 40, 12);
        InitGlState(dialog);
        hand = MakeGlSurface(appState.handCardsArea.surface, RowWidth, RowHeight);
        table = MakeGlSurface(appState.tableCardsArea.surface, RowWidth, RowHeight);
        ASSERT_TRUE(RegisterWindowClass("CardSelectWindow", CardSelectWndProc));
    }
    void TearDown() override
    {
        DestroyWindow(grid);
        DeleteGlContext(appState.handCardsArea.surface.rc);
        DeleteGlContext(appState.tableCardsArea.surface.rc);
        HeadlessReset();
        ResetAppState(appState);
    }
    void OpenGrid(GlFailure failure = GlFailure::None)
    {
        HeadlessFailGl(failure);
        grid = CreateTopLevelWindow("CardSelectWindow", "Card Selection Window", 10, 10, GridWidth,
                                    GridHeight, dialog);
        HeadlessFailGl(GlFailure::None);
        ASSERT_NE(grid, nullptr);
        ASSERT_TRUE(LoadCardTexture());
    }
    void ClickInGrid(Card card)
    {
        SendWindowMessage(grid, Message::MouseMove, CellCentre(card));
        SendWindowMessage(grid, Message::LeftUp, CellCentre(card));
    }
    static void Dirty() { appState.outcomeCounts = {3, 2, 1}, appState.handTypeCounts[4] = 9; }
    static bool Cleared() { return !appState.outcomeCounts.total() && !appState.handTypeCounts[4]; }

    Window dialog = nullptr, hand = nullptr, table = nullptr, grid = nullptr;
};

// Whether PickCard made the context current: only then is a planted selection buffer replaced.
bool PickTouchesGl(const GlSurface& surface, int x, int y, Card& picked)
{
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
}

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

// A row view shows exactly these cards (0.3 wide, y -0.6..0.6) at these left edges.
void ExpectRow(Window view, CardView which, const std::vector<double>& lefts,
               const std::vector<Card>& cards)
{
    for (std::size_t i = 0; i < cards.size(); ++i) {
        const int centre = PixelColumn(lefts[i] + 0.15, RowWidth);
        EXPECT_EQ(PickCard(centre, RowHeight / 2, which), cards[i]) << i;
        EXPECT_NE(HeadlessPixel(view, centre, PixelRow(0.55, RowHeight)), 0u) << i;
        if (i + 1 < cards.size()) {
            const int gap = PixelColumn((lefts[i] + 0.3 + lefts[i + 1]) / 2, RowWidth);
            EXPECT_EQ(PickCard(gap, RowHeight / 2, which), NoCard) << "gap " << i;
            EXPECT_EQ(HeadlessPixel(view, gap, RowHeight / 2), 0u) << "gap " << i;
        }
    }
    const InkBox ink = FindInk(view, 0);
    EXPECT_NEAR(ink.left, PixelColumn(lefts.front(), RowWidth), 1);
    EXPECT_NEAR(ink.right, PixelColumn(lefts.back() + 0.3, RowWidth), 1);
    EXPECT_NEAR(ink.top, PixelRow(0.6, RowHeight), 1);
    EXPECT_NEAR(ink.bottom, PixelRow(-0.6, RowHeight), 1);
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
    for (Card card = 0; card < 52; ++card) {
        const double left = CellLeft(card), right = left + CellWidth, bottom = CellBottom(card);
        const double rankBottom = bottom + 0.515 * CellHeight, top = bottom + CellHeight;
        auto closest = [&](int count, double low, double high, auto cellOf) {
            std::vector<long> d;
            for (int i = 0; i < count; ++i)
                d.push_back(CellDistance(grid, left, low, right, high, cellOf(i)));
            return std::min_element(d.begin(), d.end()) - d.begin();
        };
        EXPECT_EQ(closest(13, rankBottom, top, rankCell), card % 13) << "rank of " << card;
        EXPECT_EQ(closest(4, bottom, bottom + 0.485 * CellHeight, suitCell), card / 13)
            << "suit of " << card;
        if (card == 39 || card == 45 || card == 29) {  // A, 7, 4: clearly worse upside down
            EXPECT_LT(CellDistance(grid, left, rankBottom, right, top, rankCell(card % 13)) * 2,
                      CellDistance(grid, left, rankBottom, right, top, rankCell(card % 13), true))
                << card;
        }
    }
}

TEST_F(CardViewsTest, RowsStandCentredWithTheirGapsAndTheHoveredCardIsTintedGreen)
{
    appState.holeCards = {39, 38, 18, NoCard};
    appState.tableCards = {1, 2, 3, 4, 5};
    DrawCardAreas();
    ExpectRow(hand, HandView, {-0.4, 0.1}, {39, 38});  // Texas: two hole slots
    ExpectRow(table, TableView, {-0.9, -0.525, -0.15, 0.225, 0.6}, {1, 2, 3, 4, 5});

    appState.gameVariant = OmahaHoldem;
    appState.holeCards[3] = 22;
    appState.tableCards = {NoCard, 7, NoCard, NoCard, NoCard};
    DrawCardAreas();
    ExpectRow(hand, HandView, {-0.9, -0.4, 0.1, 0.6}, {39, 38, 18, 22});
    ExpectRow(table, TableView, {-0.15}, {7});

    const int x = PixelColumn(-0.38, RowWidth), y = PixelRow(0.58, RowHeight);
    EXPECT_EQ(HeadlessPixel(hand, x, y), Rgb(255, 255, 255));
    appState.hoveredCard[HandView] = 38;
    DrawCardAreas();
    EXPECT_LE(ColourDistance(HeadlessPixel(hand, x, y), Rgb(179, 255, 179)), 3);
    EXPECT_EQ(HeadlessPixel(hand, PixelColumn(-0.88, RowWidth), y), Rgb(255, 255, 255));
}

TEST_F(CardViewsTest, ClicksFillTheHoleBeforeTheBoardAndPlacedCellsGoBlack)
{
    OpenGrid();
    const Card order[] = {39, 51, 27, 15, 3, 4, 35};
    for (Card card : order) {
        Dirty();
        ClickInGrid(card);
        EXPECT_TRUE(Cleared()) << card;
    }
    EXPECT_EQ(appState.holeCards, (std::array<Card, 4>{39, 51, NoCard, NoCard}));
    EXPECT_EQ(appState.tableCards, (std::array<Card, 5>{27, 15, 3, 4, 35}));
    Dirty();  // every slot is full: the eighth click only refreshes
    const int paints = HeadlessPaintRequests(dialog);
    ClickInGrid(24);
    EXPECT_EQ(CardInUse(24), 0);
    EXPECT_FALSE(Cleared());
    EXPECT_EQ(HeadlessPaintRequests(dialog), paints + 1);

    for (Card card : order)
        EXPECT_EQ(HeadlessPixel(grid, CellCentre(card).x, CellCentre(card).y), 0u) << card;
    EXPECT_NE(HeadlessPixel(grid, CellCentre(24).x, CellCentre(24).y), 0u);
    EXPECT_FALSE(FindInk(hand, 0).empty() || FindInk(table, 0).empty());

    ChangeCard(27, false);  // a placed card's black cell is still picked, but not placed again
    Dirty();
    ClickInGrid(39);
    EXPECT_EQ(appState.hoveredCard[SelectionView], 39);
    EXPECT_EQ(appState.tableCards[0], NoCard);
    EXPECT_FALSE(Cleared());
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
    Dirty();
    ChangeCard(10, false);
    EXPECT_TRUE(Cleared());
    ChangeCard(30, true);
    ChangeCard(40, false);
    EXPECT_EQ(appState.holeCards, (std::array<Card, 4>{30, 20, 40, NoCard}));
    EXPECT_EQ(CardInUse(40), 1);
    EXPECT_EQ(CardInUse(41), 2);
    Dirty();
    int paints = HeadlessPaintRequests(dialog);
    ChangeCard(51, false);  // not placed: refreshes only
    EXPECT_EQ(HeadlessPaintRequests(dialog), paints + 1);
    EXPECT_FALSE(Cleared());
    ChangeCard(NoCard, true);
    ChangeCard(NoCard, false);
    EXPECT_EQ(HeadlessPaintRequests(dialog), paints + 1);
}

TEST_F(CardViewsTest, PointsOutsideAViewPickNothingWithoutTouchingItsContext)
{
    appState.holeCards = {5, 6, NoCard, NoCard};
    for (auto [x, y, tested] : {std::array{-1, 10, 0},
                                {10, -1, 0},
                                {RowWidth + 1, 10, 0},
                                {10, RowHeight + 1, 0},
                                {INT_MIN, INT_MAX, 0},
                                {RowWidth, 10, 1},
                                {10, RowHeight, 1}}) {
        Card picked = 99;
        EXPECT_EQ(PickTouchesGl(appState.handCardsArea.surface, x, y, picked), tested == 1)
            << x << ", " << y;
        EXPECT_EQ(picked, NoCard);
        EXPECT_EQ(CurrentGlContext(), nullptr);
    }
}

TEST_F(CardViewsTest, TheNearestHitWinsAndTheEarliestOnTies)
{
    // Records: name count, minimum and maximum depth (unsigned), name.
    const std::uint32_t records[] = {1, 0xFFFFFFF0u, 0xFFFFFFF0u, 7, 1, 500, 900, 8,
                                     1, 200,         300,         9, 1, 200, 200, 10};
    EXPECT_EQ(NearestHitName(records, 4), 9);
    EXPECT_EQ(NearestHitName(records, 1), 7);
    EXPECT_EQ(NearestHitName(records, 0), -1);
    EXPECT_EQ(NearestHitName(records, -1), -1);  // an overflowed buffer
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
    EXPECT_LE(ink.left, PixelColumn(-0.95, GridWidth) + 1);
    EXPECT_GE(ink.bottom, PixelRow(-0.95, GridHeight) - 1);
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
    ASSERT_EQ(HeadlessMessageBoxes().size(), 1u);
    EXPECT_EQ(HeadlessMessageBoxes()[0].text, "Could not create HGLRC");
    EXPECT_TRUE(HeadlessFireTimer(grid, 1));
    EXPECT_EQ(HeadlessPixel(grid, 2, 2), Rgb(255, 255, 255));
    ClickInGrid(0);
    EXPECT_EQ(appState.hoveredCard[SelectionView], NoCard);
    EXPECT_EQ(appState.holeCards[0], NoCard);
    HeadlessResizeWindow(grid, 200, 100);
    EXPECT_EQ(appState.selectionSurface.width, 200);
}
