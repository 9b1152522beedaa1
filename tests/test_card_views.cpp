// The card views on headless surfaces with real Mesa rendering: what the grid and the two card
// rows show, where the cards stand, what picking finds, how clicks fill the slots, and the card
// selection window's life from creation to closing.
#include "platform/headless/headless.h"
#include "render/card_views.h"
#include "render/gl_surface.h"
#include "tests/support/gl_fixture.h"
#include "tests/support/picture_dump.h"
#include "tests/support/view_pixels.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <vector>

namespace {

constexpr int RowViewWidth = 212;  // the hole and table controls of the main dialog, in pixels
constexpr int RowViewHeight = 67;
constexpr int GridWidth = 400;  // the card selection window's client area
constexpr int GridHeight = 180;

// Cards by suit (clubs, diamonds, hearts, spades) and rank index (ace 0 .. king 12).
constexpr Card CardOf(int suit, int rank)
{
    return suit * 13 + rank;
}

class CardViewsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HeadlessReset();
        HeadlessFailGl(GlFailure::None);
        ResetAppState(appState);
        ASSERT_TRUE(HeadlessGlAvailable()) << "Mesa's surfaceless EGL display is missing";
        dialog = HeadlessCreateWindow(nullptr, 560, 480);
        for (int id : {1012, 1013, 1014, 1043})
            HeadlessAddControl(dialog, id, 0, 0, 40, 12);
        appState.mainDialog = dialog;
        InitGlState(dialog);
        hand = MakeGlSurface(appState.handCardsArea.surface, RowViewWidth, RowViewHeight);
        table = MakeGlSurface(appState.tableCardsArea.surface, RowViewWidth, RowViewHeight);
        ASSERT_TRUE(RegisterWindowClass("CardSelectWindow", CardSelectWndProc));
    }

    void TearDown() override
    {
        DestroyWindow(grid);
        DeleteGlContext(appState.handCardsArea.surface.rc);
        DeleteGlContext(appState.tableCardsArea.surface.rc);
        HeadlessFailGl(GlFailure::None);
        HeadlessReset();
        ResetAppState(appState);
    }

    // Creates the card selection window at its start-up size and loads the card texture.
    void OpenGrid()
    {
        grid = CreateTopLevelWindow("CardSelectWindow", "Card Selection Window", 10, 10, GridWidth,
                                    GridHeight, dialog);
        ASSERT_NE(grid, nullptr);
        ASSERT_TRUE(LoadCardTexture());
    }

    // The pixel at the centre of a card's grid cell.
    static int CellColumn(Card card)
    {
        return PixelColumn(-1 + 0.05 + (card % 13) * (1.54 / 13 + 0.03) + 1.54 / 26, GridWidth);
    }
    static int CellRow(Card card)
    {
        return PixelRow(-1 + 0.05 + (card / 13) * 0.49 + 0.215, GridHeight);
    }

    // A mouse move onto the card's cell and a release, as the user clicks it in the grid.
    void ClickInGrid(Card card)
    {
        MessageParams at;
        at.x = CellColumn(card);
        at.y = CellRow(card);
        SendWindowMessage(grid, Message::MouseMove, at);
        SendWindowMessage(grid, Message::LeftUp, at);
    }

    void SetCounters()
    {
        appState.outcomeCounts = {3, 2, 1};
        appState.handTypeCounts[4] = 9;
    }
    bool CountersCleared() const
    {
        return appState.outcomeCounts.total() == 0 && appState.handTypeCounts[4] == 0;
    }

    Window dialog = nullptr;
    Window hand = nullptr;
    Window table = nullptr;
    Window grid = nullptr;
};

// Whether a pick touched the view's context: a selection buffer installed beforehand stays in
// place only when the pick never made the context current.
bool PickTouchesGl(const GlSurface& surface, int x, int y, CardView view, Card& picked)
{
    static GLuint sentinel[4];
    MakeGlCurrent(surface.dc, surface.rc);
    glSelectBuffer(4, sentinel);
    MakeGlCurrent(nullptr, nullptr);
    picked = PickCard(x, y, view);
    MakeGlCurrent(surface.dc, surface.rc);
    GLvoid* buffer = nullptr;
    glGetPointerv(GL_SELECTION_BUFFER_POINTER, &buffer);
    MakeGlCurrent(nullptr, nullptr);
    return buffer != sentinel;
}

// How far the pixels inside a rectangle of a view are from an atlas cell stretched over it:
// the summed channel differences against the texel under each pixel centre. A two-pixel rim
// is left out, where filtering blends in the neighbours. `flipped` compares with the cell
// turned upside down.
long CellDistance(Window view, int width, int height, double left, double bottom, double right,
                  double top, int cellColumn, int cellRow, bool flipped = false)
{
    long sum = 0;
    for (int row = PixelRow(top, height) + 2; row <= PixelRow(bottom, height) - 2; ++row)
        for (int column = PixelColumn(left, width) + 2; column <= PixelColumn(right, width) - 2;
             ++column) {
            const double fx = (CentreX(column, width) - left) / (right - left);
            double fy = (top - CentreY(row, height)) / (top - bottom);
            if (flipped)
                fy = 1 - fy;
            const int tx = cellColumn * 32 + static_cast<int>(fx * 32);
            const int ty = cellRow * 32 + static_cast<int>(fy * 32);
            sum += ColourDistance(HeadlessPixel(view, column, row), AtlasPixel(tx, ty));
        }
    return sum;
}

// Which of the candidate atlas cells a rectangle of the view looks most like.
int ClosestCell(Window view, int width, int height, double left, double bottom, double right,
                double top, const std::vector<std::array<int, 2>>& cells)
{
    int best = -1;
    long bestDistance = LONG_MAX;
    for (int i = 0; i < static_cast<int>(cells.size()); ++i) {
        const long d =
            CellDistance(view, width, height, left, bottom, right, top, cells[i][0], cells[i][1]);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

bool IsBlack(std::uint32_t pixel)
{
    return pixel == 0;
}

// Checks that a row view shows exactly the cards at the given left edges (0.3 wide, y from -0.6
// to 0.6): picking at each card's centre finds it, the gaps are black and pick nothing, and
// the ink spans the row.
void ExpectRow(Window view, CardView which, const std::vector<double>& lefts,
               const std::vector<Card>& cards)
{
    const int middle = RowViewHeight / 2;
    for (std::size_t i = 0; i < cards.size(); ++i) {
        const int centre = PixelColumn(lefts[i] + 0.15, RowViewWidth);
        EXPECT_EQ(PickCard(centre, middle, which), cards[i]) << "card " << i;
        EXPECT_FALSE(IsBlack(HeadlessPixel(view, centre, PixelRow(0.55, RowViewHeight))));
        if (i + 1 < cards.size()) {
            const int gap = PixelColumn((lefts[i] + 0.3 + lefts[i + 1]) / 2, RowViewWidth);
            EXPECT_EQ(PickCard(gap, middle, which), NoCard) << "gap after card " << i;
            EXPECT_TRUE(IsBlack(HeadlessPixel(view, gap, middle))) << "gap after card " << i;
        }
    }
    const InkBox ink = FindInk(view, 0);
    EXPECT_NEAR(ink.left, PixelColumn(lefts.front(), RowViewWidth), 1);
    EXPECT_NEAR(ink.right, PixelColumn(lefts.back() + 0.3, RowViewWidth), 1);
    EXPECT_NEAR(ink.top, PixelRow(0.6, RowViewHeight), 1);
    EXPECT_NEAR(ink.bottom, PixelRow(-0.6, RowViewHeight), 1);
}

}  // namespace

TEST_F(CardViewsTest, WithNoCardsTheRowsAreBlackAndTheGridShowsEveryCardUpright)
{
    OpenGrid();
    DrawCardAreas();
    DrawSelectionGrid();
    SavePictureIfAsked(grid, "grid_full");
    EXPECT_TRUE(FindInk(hand, 0).empty());
    EXPECT_TRUE(FindInk(table, 0).empty());

    // Each cell shows its rank glyph above its suit symbol, the way the atlas holds them:
    // suits from clubs at the bottom to spades at the top, aces at the left.
    std::vector<std::array<int, 2>> ranks, suits;
    for (int i = 0; i < 13; ++i)
        ranks.push_back({i % 4, 1 + i / 4});
    for (int s = 0; s < 4; ++s)
        suits.push_back({s, 0});
    const double width = 1.54 / 13, height = 0.43;
    for (Card card = 0; card < 52; ++card) {
        const double left = -1 + 0.05 + (card % 13) * (width + 0.03);
        const double bottom = -1 + 0.05 + (card / 13) * (height + 0.06);
        EXPECT_EQ(ClosestCell(grid, GridWidth, GridHeight, left, bottom + 0.515 * height,
                              left + width, bottom + height, ranks),
                  card % 13)
            << "rank of card " << card;
        EXPECT_EQ(ClosestCell(grid, GridWidth, GridHeight, left, bottom, left + width,
                              bottom + 0.485 * height, suits),
                  card / 13)
            << "suit of card " << card;
    }
    // Upside down, glyphs look less like themselves than upright.
    for (Card card : {CardOf(3, 0), CardOf(3, 6), CardOf(2, 3)}) {
        const double left = -1 + 0.05 + (card % 13) * (width + 0.03);
        const double top = -1 + 0.05 + (card / 13) * (height + 0.06) + height;
        const double rankBottom = top - 0.485 * height;
        const int column = card % 13 % 4, row = 1 + card % 13 / 4;
        const long upright = CellDistance(grid, GridWidth, GridHeight, left, rankBottom,
                                          left + width, top, column, row);
        const long flipped = CellDistance(grid, GridWidth, GridHeight, left, rankBottom,
                                          left + width, top, column, row, true);
        EXPECT_LT(upright * 2, flipped) << "card " << card;
    }
}

TEST_F(CardViewsTest, RowsStandCentredWithTheirGapsAndTheHoveredCardIsTintedGreen)
{
    OpenGrid();
    appState.holeCards = {CardOf(3, 0), CardOf(2, 12), CardOf(1, 5), NoCard};
    appState.tableCards = {CardOf(0, 1), CardOf(0, 2), CardOf(0, 3), CardOf(0, 4), CardOf(0, 5)};
    DrawCardAreas();
    SavePictureIfAsked(hand, "hand_texas");
    SavePictureIfAsked(table, "table_five");
    // Under Texas Hold'em the third hole slot is not shown.
    ExpectRow(hand, HandView, {-0.4, 0.1}, {CardOf(3, 0), CardOf(2, 12)});
    ExpectRow(table, TableView, {-0.9, -0.525, -0.15, 0.225, 0.6},
              {CardOf(0, 1), CardOf(0, 2), CardOf(0, 3), CardOf(0, 4), CardOf(0, 5)});

    appState.gameVariant = OmahaHoldem;
    appState.holeCards[3] = CardOf(1, 9);
    appState.tableCards = {NoCard, CardOf(0, 7), NoCard, NoCard, NoCard};  // one card, centred
    DrawCardAreas();
    SavePictureIfAsked(hand, "hand_omaha");
    ExpectRow(hand, HandView, {-0.9, -0.4, 0.1, 0.6},
              {CardOf(3, 0), CardOf(2, 12), CardOf(1, 5), CardOf(1, 9)});
    ExpectRow(table, TableView, {-0.15}, {CardOf(0, 7)});

    // The white corner of the second hole card turns light green while it is hovered.
    const int x = PixelColumn(-0.4 + 0.02, RowViewWidth), y = PixelRow(0.58, RowViewHeight);
    const int otherX = PixelColumn(-0.9 + 0.02, RowViewWidth);
    EXPECT_EQ(HeadlessPixel(hand, x, y), Rgb(255, 255, 255));
    appState.hoveredCard[HandView] = CardOf(2, 12);
    DrawCardAreas();
    SavePictureIfAsked(hand, "hand_hovered");
    const std::uint32_t tinted = HeadlessPixel(hand, x, y);
    EXPECT_NEAR(RedOf(tinted), 179, 2);
    EXPECT_EQ(GreenOf(tinted), 255);
    EXPECT_NEAR(BlueOf(tinted), 179, 2);
    EXPECT_EQ(HeadlessPixel(hand, otherX, y), Rgb(255, 255, 255));
}

TEST_F(CardViewsTest, ClicksFillTheHoleBeforeTheBoardAndPlacedCellsGoBlack)
{
    OpenGrid();
    const Card order[] = {CardOf(3, 0), CardOf(3, 12), CardOf(2, 1), CardOf(1, 2),
                          CardOf(0, 3), CardOf(0, 4),  CardOf(2, 9)};
    for (Card card : order) {
        SetCounters();
        ClickInGrid(card);
        EXPECT_EQ(appState.hoveredCard[SelectionView], card);
        EXPECT_TRUE(CountersCleared()) << "after placing " << card;
    }
    EXPECT_EQ(appState.holeCards, (std::array<Card, 4>{order[0], order[1], NoCard, NoCard}));
    EXPECT_EQ(appState.tableCards,
              (std::array<Card, 5>{order[2], order[3], order[4], order[5], order[6]}));

    // Every slot is full: an eighth click changes nothing but still refreshes the dialog.
    SetCounters();
    const int paints = HeadlessPaintRequests(dialog);
    ClickInGrid(CardOf(1, 11));
    EXPECT_EQ(appState.tableCards[4], order[6]);
    EXPECT_FALSE(CountersCleared());
    EXPECT_EQ(HeadlessPaintRequests(dialog), paints + 1);
    EXPECT_EQ(CardInUse(CardOf(1, 11)), 0);

    // The placed cards' cells are black; the hole view shows what was placed.
    SavePictureIfAsked(grid, "grid_seven_placed");
    for (Card card : order)
        EXPECT_TRUE(IsBlack(HeadlessPixel(grid, CellColumn(card), CellRow(card))));
    EXPECT_FALSE(IsBlack(HeadlessPixel(grid, CellColumn(CardOf(1, 11)), CellRow(CardOf(1, 11)))));
    EXPECT_FALSE(FindInk(hand, 0).empty());
    EXPECT_FALSE(FindInk(table, 0).empty());

    // A placed card's empty cell is still picked, and placing refuses it.
    ChangeCard(order[2], false);
    SetCounters();
    ClickInGrid(order[0]);
    EXPECT_EQ(appState.hoveredCard[SelectionView], order[0]);
    EXPECT_EQ(appState.tableCards[0], NoCard);
    EXPECT_FALSE(CountersCleared());
}

TEST_F(CardViewsTest, PlacingAndTakingBackFollowTheSlotOrder)
{
    // Omaha Hold'em: four hole cards first.
    appState.gameVariant = OmahaHoldem;
    for (Card card = 0; card < 5; ++card)
        ChangeCard(card, true);
    EXPECT_EQ(appState.holeCards, (std::array<Card, 4>{0, 1, 2, 3}));
    EXPECT_EQ(appState.tableCards[0], 4);

    // Texas Hold'em: taking back the first hole card leaves a gap that the next card fills.
    appState.gameVariant = TexasHoldem;
    appState.holeCards.fill(NoCard);
    appState.tableCards.fill(NoCard);
    ChangeCard(10, true);
    ChangeCard(20, true);
    SetCounters();
    ChangeCard(10, false);
    EXPECT_TRUE(CountersCleared());
    EXPECT_EQ(appState.holeCards[0], NoCard);
    ChangeCard(30, true);
    EXPECT_EQ(appState.holeCards, (std::array<Card, 4>{30, 20, NoCard, NoCard}));

    // Texas Hold'em neither fills nor empties hole slots 2 and 3, but a card there is in use.
    appState.holeCards[2] = 40;
    SetCounters();
    ChangeCard(40, false);
    ChangeCard(40, true);
    EXPECT_EQ(appState.holeCards[2], 40);
    EXPECT_EQ(CardInUse(40), 1);
    appState.tableCards[1] = 41;
    EXPECT_EQ(CardInUse(41), 2);
    EXPECT_EQ(CardInUse(42), 0);
    EXPECT_FALSE(CountersCleared());

    // Taking back a card that is not placed refreshes only; no card at all does nothing.
    int paints = HeadlessPaintRequests(dialog);
    ChangeCard(51, false);
    EXPECT_EQ(HeadlessPaintRequests(dialog), paints + 1);
    EXPECT_FALSE(CountersCleared());
    paints = HeadlessPaintRequests(dialog);
    ChangeCard(NoCard, true);
    ChangeCard(NoCard, false);
    EXPECT_EQ(HeadlessPaintRequests(dialog), paints);
}

TEST_F(CardViewsTest, PointsOutsideAViewPickNothingWithoutTouchingItsContext)
{
    OpenGrid();
    appState.holeCards = {5, 6, NoCard, NoCard};
    const GlSurface& surface = appState.handCardsArea.surface;
    const struct {
        int x, y;
        bool tested;
    } points[] = {
        {-1, 10, false},
        {10, -1, false},
        {RowViewWidth + 1, 10, false},
        {10, RowViewHeight + 1, false},
        {INT_MIN, INT_MAX, false},
        {RowViewWidth, 10, true},  // the far edge itself still counts
        {10, RowViewHeight, true},
        {0, 0, true},
    };
    for (const auto& p : points) {
        Card picked = 99;
        EXPECT_EQ(PickTouchesGl(surface, p.x, p.y, HandView, picked), p.tested)
            << p.x << ", " << p.y;
        EXPECT_EQ(picked, NoCard);
        EXPECT_EQ(CurrentGlContext(), nullptr);
    }
}

TEST_F(CardViewsTest, TheNearestHitWinsAndTheEarliestOnTies)
{
    // Records of four words: name count, minimum depth, maximum depth, name. Depths are
    // unsigned: 0xFFFFFFF0 is far, not negative.
    const std::uint32_t records[] = {
        1, 0xFFFFFFF0u, 0xFFFFFFF0u, 7,  //
        1, 500,         900,         8,  //
        1, 200,         300,         9,  //
        1, 200,         200,         10,
    };
    EXPECT_EQ(NearestHitName(records, 4), 9);
    EXPECT_EQ(NearestHitName(records, 1), 7);
    EXPECT_EQ(NearestHitName(records, 0), -1);
    EXPECT_EQ(NearestHitName(records, -1), -1);  // an overflowed buffer
}

TEST_F(CardViewsTest, TheSelectionWindowDrawsOnItsTimerFollowsItsSizeAndQuitsOnCommands)
{
    OpenGrid();
    EXPECT_NE(appState.selectionSurface.rc, nullptr);
    EXPECT_EQ(appState.selectionSurface.width, GridWidth);
    EXPECT_EQ(appState.selectionSurface.height, GridHeight);

    // A fresh window is white until the first tick of timer 1 draws the grid.
    EXPECT_EQ(HeadlessPixel(grid, 2, 2), Rgb(255, 255, 255));
    EXPECT_TRUE(HeadlessFireTimer(grid, 1));
    EXPECT_EQ(HeadlessPixel(grid, 2, 2), 0u);
    EXPECT_EQ(CurrentGlContext(), nullptr);

    // Shrunk to one pixel and back, the window draws and picks over its whole area again.
    HeadlessResizeWindow(grid, 1, 1);
    EXPECT_EQ(appState.selectionSurface.width, 1);
    HeadlessFireTimer(grid, 1);
    HeadlessResizeWindow(grid, GridWidth, GridHeight);
    HeadlessExposeGl(grid);  // the toolkit's redraw on uncovering
    const InkBox ink = FindInk(grid, 0);
    EXPECT_LE(ink.left, PixelColumn(-0.95, GridWidth) + 1);
    EXPECT_GE(ink.bottom, PixelRow(-0.95, GridHeight) - 1);
    MessageParams at;
    at.x = CellColumn(CardOf(3, 12));
    at.y = CellRow(CardOf(3, 12));
    SendWindowMessage(grid, Message::MouseMove, at);
    EXPECT_EQ(appState.hoveredCard[SelectionView], CardOf(3, 12));

    // The hover stays when the mouse leaves, a right click does nothing.
    SendWindowMessage(grid, Message::RightUp, at);
    EXPECT_EQ(appState.hoveredCard[SelectionView], CardOf(3, 12));
    EXPECT_EQ(appState.holeCards[0], NoCard);

    MessageParams command;
    command.id = 7;
    EXPECT_EQ(SendWindowMessage(grid, Message::Command, command), 0);
    EXPECT_EQ(RunMessageLoop(nullptr), -1);
    for (int id : {1, 2}) {
        command.id = id;
        EXPECT_EQ(SendWindowMessage(grid, Message::Command, command), 1);
        EXPECT_EQ(RunMessageLoop(nullptr), 2);
    }
}

TEST_F(CardViewsTest, AfterTheSelectionWindowClosesCardsCanOnlyBeTakenBack)
{
    OpenGrid();
    ClickInGrid(CardOf(2, 0));
    ASSERT_EQ(appState.holeCards[0], CardOf(2, 0));
    HeadlessClickClose(grid);
    EXPECT_FALSE(HeadlessWindowExists(grid));
    EXPECT_EQ(appState.selectionSurface.rc, nullptr);
    EXPECT_FALSE(HeadlessFireTimer(grid, 1));

    DrawSelectionGrid();  // the main dialog still asks for it after a release
    EXPECT_EQ(CurrentGlContext(), nullptr);
    EXPECT_EQ(PickCard(CellColumn(CardOf(2, 1)), CellRow(CardOf(2, 1)), SelectionView), NoCard);
    HeadlessExposeGl(grid);

    // The main dialog's release over the hole card takes it back.
    DrawCardAreas();
    const Card under = PickCard(RowViewWidth / 2, RowViewHeight / 2, HandView);  // one, centred
    EXPECT_EQ(under, CardOf(2, 0));
    ChangeCard(under, false);
    DrawCardAreas();
    EXPECT_EQ(appState.holeCards[0], NoCard);
    EXPECT_TRUE(FindInk(hand, 0).empty());
}

TEST_F(CardViewsTest, WithoutAContextTheSelectionWindowStillWorksButShowsAndPicksNothing)
{
    HeadlessFailGl(GlFailure::CreateContext);
    grid = CreateTopLevelWindow("CardSelectWindow", "Card Selection Window", 10, 10, GridWidth,
                                GridHeight, dialog);
    HeadlessFailGl(GlFailure::None);
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(HeadlessMessageBoxes().size(), 1u);
    EXPECT_EQ(HeadlessMessageBoxes()[0].text, "Could not create HGLRC");
    ASSERT_TRUE(LoadCardTexture());

    EXPECT_TRUE(HeadlessFireTimer(grid, 1));
    EXPECT_EQ(HeadlessPixel(grid, 2, 2), Rgb(255, 255, 255));
    ClickInGrid(CardOf(0, 0));
    EXPECT_EQ(appState.hoveredCard[SelectionView], NoCard);
    EXPECT_EQ(appState.holeCards[0], NoCard);
    HeadlessResizeWindow(grid, 200, 100);
    EXPECT_EQ(appState.selectionSurface.width, 200);
}
