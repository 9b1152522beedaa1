// The three card views: the selection grid of the card selection window, the hole cards and
// the table cards of the main dialog; how a card is drawn, how the card under the mouse is
// found by selection-mode picking, and placing and taking back cards.
#pragma once

#include "app/state.h"
#include "platform/platform.h"
#include "render/picking.h"

// Layout of the selection grid, in normalised device coordinates.
struct SelectionGridLayout {
    float cardWidth = 1.54f / 13.0f;  // 0.11846154: 13 columns and 12 gaps of 0.03 fill the width
    float cardHeight = 0.43f;
    float left = 0.05f;
    float bottom = 0.05f;
    float columnGap = 0.03f;
    float rowGap = 0.06f;

    bool operator==(const SelectionGridLayout&) const = default;
};
extern SelectionGridLayout selectionGrid;

// Draws one card with its lower left corner at (x, y) into the current context: the rank glyph
// above the suit symbol, tinted green when it is the hovered card of the view.
void DrawCard(float x, float y, float width, float height, Card card, CardView view);

// Redraws the hole cards and the table cards views, each as one full frame.
void DrawCardAreas();

// Redraws the selection grid: every card that is not placed, spades at the top.
void DrawSelectionGrid();

// The redraw timers' frames: each of these views is drawn only when what it would show (its
// cards, the hovered card, its surface and size, the drawing generation) differs from its
// last frame.
void DrawCardAreasIfChanged();
void DrawSelectionGridIfChanged();

// 1 when the card is in a hole slot (any of the four), 2 when on the board, else 0.
int CardInUse(Card card);

// Places the card into the first free slot (add) or takes it back (not add), clearing both
// estimates when a slot changed, then calls the cards-changed handler (the shell's refresh of
// the main dialog). A negative card does nothing.
void ChangeCard(Card card, bool add);

// A click on a card of the selection window (add) or of the hand or table view (not add), and
// the same card typed on the keyboard: ChangeCard, then the three card views drawn at once.
void ChangeCardAndRedraw(Card card, bool add);

// The card in the last filled slot of the placing order (board slots from the last, then hole
// slots from the last), or NoCard when none is placed: the card Backspace takes back.
Card LastPlacedCard();

// Installs the handler of the card selection window's keys (KeyDown and Char); its answer is
// the window procedure's. Without one the window takes no key.
void SetCardSelectKeyHandler(WindowProc handler);

// Installs the handler ChangeCard calls after every card it was given (changed or not);
// nothing is called while none is installed.
void SetCardsChangedHandler(void (*handler)());

// The card under a point of a view (window pixels, origin top left), or NoCard.
Card PickCard(int x, int y, CardView view);

// The window procedure of the card selection window ("CardSelectWindow").
int CardSelectWndProc(Window window, Message message, const MessageParams& params);
