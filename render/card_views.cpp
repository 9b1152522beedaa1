// The card views: drawing a card from the atlas, the hole cards and table cards rows, the
// selection grid, selection-mode picking, and placing and taking back cards.
#include "render/card_views.h"

#include "render/gl_surface.h"

#include <GL/gl.h>

#include <cstdint>

#include <algorithm>
#include <array>

SelectionGridLayout selectionGrid;

namespace {

// Every card of the hole and table views is 0.3 wide and 1.2 high, its bottom at y = -0.6.
constexpr float RowCardWidth = 0.3f;
constexpr float RowCardHeight = 1.2f;
constexpr float RowCardBottom = -0.6f;

// The filled slots of one row view, in slot order, empty slots skipped.
struct CardRow {
    Card cards[5] = {};
    int count = 0;
};

CardRow HandRow()
{
    CardRow row;
    for (int i = 0; i < HoleCount(appState.gameVariant); ++i)
        if (appState.holeCards[i] != NoCard)
            row.cards[row.count++] = appState.holeCards[i];
    return row;
}

CardRow TableRow()
{
    CardRow row;
    for (Card card : appState.tableCards)
        if (card != NoCard)
            row.cards[row.count++] = card;
    return row;
}

// The left edge of card i of n in the hole view: a gap of 0.2, the row centred.
float HandCardX(int i, int n)
{
    const auto count = static_cast<float>(n);
    const float margin = (2.0f - (RowCardWidth * count + 0.2f * (count - 1.0f))) / 2.0f;
    return -1.0f + margin + 0.5f * static_cast<float>(i);
}

// The left edge of card i of m in the table view: the gap shrinks as the board fills, from
// 0.175 for one card to 0.075 for five.
float TableCardX(int i, int m)
{
    const auto count = static_cast<float>(m);
    const float gap = 0.2f - 0.025f * count;
    const float step = RowCardWidth + gap;
    const float margin = (2.0f - (RowCardWidth * count + gap * (count - 1.0f))) / 2.0f;
    return -1.0f + margin + step * static_cast<float>(i);
}

float RowCardX(CardView view, int i, int n)
{
    return view == HandView ? HandCardX(i, n) : TableCardX(i, n);
}

// The lower left corner of the grid cell of a card: suits are rows from the bottom (clubs) to
// the top (spades), rank indexes columns from the left (aces) to the right (kings).
float GridCellX(Card card)
{
    const SelectionGridLayout& g = selectionGrid;
    return -1.0f + g.left + static_cast<float>(RankOf(card)) * (g.cardWidth + g.columnGap);
}

float GridCellY(Card card)
{
    const SelectionGridLayout& g = selectionGrid;
    return -1.0f + g.bottom + static_cast<float>(SuitOf(card)) * (g.cardHeight + g.rowGap);
}

const GlSurface& SurfaceOf(CardView view)
{
    switch (view) {
    case HandView:
        return appState.handCardsArea.surface;
    case TableView:
        return appState.tableCardsArea.surface;
    default:
        return appState.selectionSurface;
    }
}

// ---------------------------------------------------------------------------------------------
// Frame records (see gl_surface.h): what each card view showed in its last frame.
// ---------------------------------------------------------------------------------------------

struct RowFrame {
    SurfaceStamp surface;
    std::array<Card, 5> cards{};
    int count = 0;
    Card hovered = NoCard;

    bool operator==(const RowFrame&) const = default;
};

RowFrame RowFrameOf(const GlSurface& surface, const CardRow& row, CardView view)
{
    RowFrame frame{StampOf(surface), {}, row.count, appState.hoveredCard[view]};
    std::copy(row.cards, row.cards + 5, frame.cards.begin());
    return frame;
}

struct GridFrame {
    SurfaceStamp surface;
    std::uint64_t cardsShown = 0;  // bit c set when card c is in the grid (not placed)
    Card hovered = NoCard;
    SelectionGridLayout layout;

    bool operator==(const GridFrame&) const = default;
};

GridFrame GridFrameNow()
{
    GridFrame frame{StampOf(appState.selectionSurface), 0, appState.hoveredCard[SelectionView],
                    selectionGrid};
    for (Card card = 0; card < CardCount; ++card)
        if (CardInUse(card) == 0)
            frame.cardsShown |= std::uint64_t{1} << card;
    return frame;
}

RowFrame rowFrames[3];  // by CardView; the selection view's entry is unused
GridFrame gridFrame;

void ClearToBlack()
{
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void DrawCardRow(const GlSurface& surface, const CardRow& row, CardView view)
{
    if (!BeginFrame(surface))
        return;
    ClearToBlack();
    for (int i = 0; i < row.count; ++i)
        DrawCard(RowCardX(view, i, row.count), RowCardBottom, RowCardWidth, RowCardHeight,
                 row.cards[i], view);
    EndFrame(surface);
    rowFrames[view] = RowFrameOf(surface, row, view);
}

// The slot that placing and taking back visit in position k (0..8) of their order: hole
// slots 0 and 1, under Omaha Hold'em also 2 and 3, then board slots 0 to 4. Null past the end.
Card* SlotInOrder(int k)
{
    const int holes = HoleCount(appState.gameVariant);
    if (k < holes)
        return &appState.holeCards[k];
    if (k < holes + 5)
        return &appState.tableCards[k - holes];
    return nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Drawing
// ---------------------------------------------------------------------------------------------

void DrawCard(float x, float y, float width, float height, Card card, CardView view)
{
    if (card < 0 || card >= CardCount)
        return;
    const CardAtlas& atlas = cardAtlas;
    const TexCorner rank = atlas.rankCorner[RankOf(card)];
    const TexCorner suit = atlas.suitCorner[SuitOf(card)];
    const float right = x + width;
    const float top = y + height;
    const float rankBottom = y + 0.97f * height / 2.0f;  // the two halves overlap by 3 %,
    const float suitTop = y + 1.03f * height / 2.0f;     // the suit drawn over the rank

    glColor4f(1, 1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, atlas.cardTexture);
    glEnable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    TexturedCell(rank, x, rankBottom, right, top);
    TexturedCell(suit, x, y, right, suitTop);
    glEnd();
    glDisable(GL_TEXTURE_2D);

    if (card == appState.hoveredCard[view])
        DrawHoverTint(x, y, right, top);
}

void DrawCardAreas()
{
    DrawCardRow(appState.handCardsArea.surface, HandRow(), HandView);
    DrawCardRow(appState.tableCardsArea.surface, TableRow(), TableView);
}

void DrawSelectionGrid()
{
    const GlSurface& surface = appState.selectionSurface;
    if (!BeginFrame(surface))
        return;
    gridFrame = GridFrameNow();
    ClearToBlack();
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    for (Card card = 0; card < CardCount; ++card)
        if (CardInUse(card) == 0)
            DrawCard(GridCellX(card), GridCellY(card), selectionGrid.cardWidth,
                     selectionGrid.cardHeight, card, SelectionView);
    EndFrame(surface);
}

void DrawCardAreasIfChanged()
{
    const GlSurface& hand = appState.handCardsArea.surface;
    const CardRow handRow = HandRow();
    if (RowFrameOf(hand, handRow, HandView) != rowFrames[HandView])
        DrawCardRow(hand, handRow, HandView);
    const GlSurface& table = appState.tableCardsArea.surface;
    const CardRow tableRow = TableRow();
    if (RowFrameOf(table, tableRow, TableView) != rowFrames[TableView])
        DrawCardRow(table, tableRow, TableView);
}

void DrawSelectionGridIfChanged()
{
    if (GridFrameNow() != gridFrame)
        DrawSelectionGrid();
}

// ---------------------------------------------------------------------------------------------
// Picking
// ---------------------------------------------------------------------------------------------

Card PickCard(int x, int y, CardView view)
{
    const GlSurface& surface = SurfaceOf(view);
    if (x < 0 || y < 0 || x > surface.width || y > surface.height)
        return NoCard;
    const CardRow row = view == HandView ? HandRow() : view == TableView ? TableRow() : CardRow{};
    int viewport[4];
    if (!BeginPick(surface, x, y, viewport))
        return NoCard;
    if (view == SelectionView) {
        // Placed cards' empty cells are picked too; placing then refuses them as in use.
        for (Card card = 0; card < CardCount; ++card) {
            const float left = GridCellX(card);
            const float bottom = GridCellY(card);
            PickRectangle(static_cast<std::uint32_t>(card), left, bottom,
                          left + selectionGrid.cardWidth, bottom + selectionGrid.cardHeight);
        }
    } else {
        for (int i = 0; i < row.count; ++i) {
            const float left = RowCardX(view, i, row.count);
            PickRectangle(static_cast<std::uint32_t>(row.cards[i]), left, RowCardBottom,
                          left + RowCardWidth, RowCardBottom + RowCardHeight);
        }
    }
    const int name = EndPick();
    MakeGlCurrent(nullptr, nullptr);
    return name;
}

// ---------------------------------------------------------------------------------------------
// Placing and taking back
// ---------------------------------------------------------------------------------------------

namespace {

void (*cardsChanged)() = nullptr;     // set by the shell at start-up
WindowProc cardSelectKeys = nullptr;  // set by the shell at start-up

}  // namespace

int CardInUse(Card card)
{
    for (Card held : appState.holeCards)
        if (held == card)
            return 1;
    for (Card held : appState.tableCards)
        if (held == card)
            return 2;
    return 0;
}

void ChangeCard(Card card, bool add)
{
    if (card < 0 || card >= CardCount)
        return;
    if (add && CardInUse(card) != 0)
        return;
    // Placing fills the first empty slot; taking back empties the first slot holding the card.
    const Card wanted = add ? NoCard : card;
    bool changed = false;
    for (int k = 0; Card* slot = SlotInOrder(k); ++k)
        if (*slot == wanted) {
            *slot = add ? card : NoCard;
            changed = true;
            break;
        }
    if (changed)
        ResetForDealChange(appState);
    if (cardsChanged)
        cardsChanged();
}

void SetCardsChangedHandler(void (*handler)())
{
    cardsChanged = handler;
}

void ChangeCardAndRedraw(Card card, bool add)
{
    ChangeCard(card, add);
    DrawSelectionGrid();
    DrawCardAreas();
}

Card LastPlacedCard()
{
    for (int k = HoleCount(appState.gameVariant) + 4; k >= 0; --k)
        if (const Card* slot = SlotInOrder(k); slot && *slot != NoCard)
            return *slot;
    return NoCard;
}

// ---------------------------------------------------------------------------------------------
// The card selection window
// ---------------------------------------------------------------------------------------------

void SetCardSelectKeyHandler(WindowProc handler)
{
    cardSelectKeys = handler;
}

namespace {

constexpr int GridTimer = 1;
constexpr int GridTimerPeriodMs = 250;

int OnCardSelectCreate(Window window)
{
    selectionGrid = SelectionGridLayout{};
    GlSurface& surface = appState.selectionSurface;
    surface.dc = GetDeviceContext(window);
    surface.rc = CreateGlContext(surface.dc);  // null on failure: the window draws nothing
    SetTimer(window, GridTimer, GridTimerPeriodMs);
    SetGlRedrawRoutine(surface.dc, DrawSelectionGrid);
    return 1;
}

// The window may close while the program goes on: nothing may touch its context afterwards.
int OnCardSelectDestroy()
{
    GlSurface& surface = appState.selectionSurface;
    SetGlRedrawRoutine(surface.dc, nullptr);
    DeleteGlContext(surface.rc);
    surface.rc = nullptr;
    surface.dc = nullptr;
    return 0;
}

int OnCardSelectSize(int width, int height)
{
    GlSurface& surface = appState.selectionSurface;
    surface.width = width;
    surface.height = height;
    gridFrame = {};  // a resized window is drawn again even at its old size
    if (surface.dc && surface.rc && MakeGlCurrent(surface.dc, surface.rc)) {
        glViewport(0, 0, width, height);
        MakeGlCurrent(nullptr, nullptr);
    }
    return 0;
}

}  // namespace

int CardSelectWndProc(Window window, Message message, const MessageParams& params)
{
    switch (message) {
    case Message::Create:
        return OnCardSelectCreate(window);
    case Message::Destroy:
        return OnCardSelectDestroy();
    case Message::Size:
        return OnCardSelectSize(params.x, params.y);
    case Message::Paint:
        return 0;  // the timer draws
    case Message::InitDialog:
        return 1;
    case Message::Command:
        if (params.id == 1 || params.id == 2) {
            PostQuitMessage(2);
            return 1;
        }
        return 0;
    case Message::Timer:
        if (params.id == GridTimer)
            DrawSelectionGridIfChanged();
        return 0;
    case Message::MouseMove:
        appState.hoveredCard[SelectionView] = PickCard(params.x, params.y, SelectionView);
        return 0;
    case Message::LeftUp:
        ChangeCardAndRedraw(appState.hoveredCard[SelectionView], true);
        return 0;
    case Message::KeyDown:
    case Message::Char:
        return cardSelectKeys ? cardSelectKeys(window, message, params) : 0;
    case Message::RightUp:
        return 0;
    default:
        return 0;  // left to the default window procedure
    }
}
