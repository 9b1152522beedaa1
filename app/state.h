// The one block of shared state of the program, and its reset rules.
//
// Everything lives in the global `appState`, read and written only on the user-interface
// thread. Members used by a single part of the program are declared next to that part; this
// block holds what several parts share.
#pragma once

#include "cards/card.h"
#include "odds/starting_hand_table.h"
#include "opponents/roster.h"
#include "platform/gl.h"
#include "platform/platform.h"

#include <array>
#include <cstdint>

enum GameVariant : std::int32_t {
    TexasHoldem = 0,
    OmahaHoldem = 1,  // the evaluator treats every value but 1 as Texas Hold'em
};

enum CalculationLevel : std::int32_t {
    LevelNotChosen = 0,
    QuickCalculation = 1,
    NormalCalculation = 2,
    DetailedCalculation = 3,
};

enum CardView : std::int32_t {
    SelectionView = 0,
    HandView = 1,
    TableView = 2,
};

using HandTypeCounts = std::array<std::int32_t, HandTypeCount>;  // indexed by HandType

// The win estimate's counters. They are 64-bit: at 20,000 deals a second, 32-bit counters
// would overflow after about 30 hours of a program left open.
struct OutcomeCounts {
    std::int64_t wins = 0;    // the hero's best hand beats every opponent dealt in
    std::int64_t ties = 0;    // equals the best of them
    std::int64_t losses = 0;  // loses to at least one

    std::int64_t total() const { return wins + ties + losses; }
};

// The nine card slots as one block: the five table cards, then the four hole cards. Texas
// Hold'em uses hole slots 0 and 1, Omaha Hold'em all four. A card occurs in one slot at most;
// empty slots hold NoCard and may sit between chosen cards.
struct CardBlock {
    std::array<Card, 5> tableCards{NoCard, NoCard, NoCard, NoCard, NoCard};
    std::array<Card, 4> holeCards{NoCard, NoCard, NoCard, NoCard};
};

// The nine pens and brushes of the program's rectangle drawing, made once at start-up.
struct DrawingObjects {
    Brush redBrush;
    Brush blueBrush;
    Brush greenBrush;
    Brush darkGreenBrush;
    Brush lightGreenBrush;
    Pen redPen;
    Pen bluePen;
    Pen greenPen;
    Pen darkGreenPen;
};

// One drawing area: the device context of its window (kept for the life of the process), the
// rendering context made for it (null if that failed) and its size in pixels.
struct GlSurface {
    DeviceContext dc = nullptr;
    GlContext rc = nullptr;
    int width = 1;
    int height = 1;
};

// A control of the main dialog drawn with OpenGL: its surface and its top-left corner in the
// dialog's client pixels, measured once at set-up.
struct GlArea {
    GlSurface surface;
    int x = 0;
    int y = 0;
};

struct AppState : CardBlock, DrawingObjects {
    // Windows and placement
    Instance instance = nullptr;
    Window mainDialog = nullptr;
    Window precalcDialog = nullptr;
    int dialogOriginX = 0;  // screen position of the main dialog's client area
    int dialogOriginY = 0;
    int cardSelectX = 10;  // screen position of the card selection window
    int cardSelectY = 10;

    // Drawing surfaces
    GlArea handCardsArea;                                    // control 1094, the hole cards
    GlArea tableCardsArea;                                   // control 1095, the board
    GlArea gainArea;                                         // control 1015, the gain display
    GlArea opponentsArea;                                    // control 1096, the opponents view
    GlSurface selectionSurface{nullptr, nullptr, 400, 180};  // the card selection window

    // The deal (the card slots come from CardBlock)
    GameVariant gameVariant = TexasHoldem;

    // Results
    HandTypeCounts handTypeCounts{};  // the final-hand distribution; capped near FinalHandCountCap
    OutcomeCounts outcomeCounts;      // the win estimate; no cap
    bool winEstimatePaused = false;

    // Pointer state, in the main dialog's client pixels
    int mouseX = 0;
    int mouseY = 0;
    int prevMouseX = 0;
    int prevMouseY = 0;
    int dragDistance = 0;  // |dx| + |dy| summed over the moves of a marker drag
    std::array<Card, 3> hoveredCard{NoCard, NoCard, NoCard};  // indexed by CardView
    int hoverPlayer = -1;     // roster index under the mouse, -1 for none
    int selectedPlayer = -1;  // roster index whose menu was opened last
    int draggedPlayer = -1;   // roster index being dragged

    // Precalculation progress
    CalculationLevel precalcLevel = LevelNotChosen;
    int precalcCellsDone = 0;
    int precalcCellsTotal = StartingHandCells;
    bool precalcButtonsDisabled = false;

    // Shared collections
    PlayerRoster roster;
    StartingHandTable startingHandTable;
};

extern AppState appState;

// The number of hole cards of a variant: 4 in Omaha Hold'em, 2 otherwise.
constexpr int HoleCount(GameVariant variant)
{
    return variant == OmahaHoldem ? 4 : 2;
}

// ---------------------------------------------------------------------------------------------
// Reset rules: every change of an input clears the results that depend on it at once.
// ---------------------------------------------------------------------------------------------

void ClearHandTypeCounts(AppState& state);
void ClearOutcomeCounts(AppState& state);

// A card was placed or taken back: both estimates start over.
void ResetForDealChange(AppState& state);

// New Hand: all nine slots empty, both estimates cleared, every player back in the hand.
// (Reseeding and the dialog texts belong to the New Hand command itself.)
void ResetForNewHand(AppState& state);

// The variant button: flips the variant, empties hole slots 2 and 3, clears both estimates.
void ResetForVariantToggle(AppState& state);

// An opponent changed (added, deleted, toggled by menu, modelling switched, a level changed):
// only the win estimate depends on the opponents.
void ResetForOpponentChange(AppState& state);

// Returns the state block to its start-of-process values (for tests).
void ResetAppState(AppState& state);
