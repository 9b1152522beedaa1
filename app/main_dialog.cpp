#include "app/main_dialog.h"

#include "app/new_hand.h"
#include "app/result_bars.h"
#include "app/state.h"
#include "app/typed_cards.h"
#include "odds/final_hands.h"
#include "odds/win_estimate.h"
#include "opponents/opponents_view.h"
#include "opponents/player_dialog.h"
#include "render/card_views.h"
#include "render/gain.h"
#include "render/gl_surface.h"

#include <cstdlib>

namespace {

int OnInit(Window dialog)
{
    appState.mainDialog = dialog;
    InvalidateViewFrames();  // a new dialog: its first tick draws every view
    ForgetActivityStrip();
    NewHand(dialog, appState);
    appState.gameVariant = TexasHoldem;  // the variant button keeps its template text
    SetTimer(dialog, RedrawTimer, 250);
    SetTimer(dialog, EstimateTimer, 50);
    for (int id : {WinShareControl, TieShareControl, LossShareControl})
        SetControlText(dialog, id, "0%");
    ClearHandTypeCounts(appState);
    return 1;  // the focus goes to the first tab stop, "New Hand"
}

void AskToQuit()
{
    if (ShowMessageBox(appState.mainDialog, "Really Quit?", "Quit Program",
                       MessageBoxButtons::YesNo) == MessageBoxResult::Yes)
        PostQuitMessage(2);
}

void ToggleVariant(Window dialog)
{
    ResetForVariantToggle(appState);
    SetControlText(dialog, VariantButton,
                   appState.gameVariant == OmahaHoldem ? "Omaha Hold'em Poker"
                                                       : "Texas Hold'em Poker");
}

int OnCommand(Window dialog, int id)
{
    switch (id) {
    case OkCommand:
    case CancelCommand:
        AskToQuit();
        return 1;
    case NewHandCommand:
        NewHand(dialog, appState);
        RefreshResults(dialog, appState);
        return 1;
    case AddNewCommand:
        RunAddPlayerDialog();
        RefreshResults(dialog, appState);
        return 1;
    case ModellingCheckBox:
        ResetForOpponentChange(appState);
        RefreshResults(dialog, appState);
        return 1;
    case VariantButton:
        ToggleVariant(dialog);
        RefreshResults(dialog, appState);
        return 1;
    default:
        if (id >= PlayingCommand && id <= FirstBluffingCommand + 10) {
            if (PerformPlayerCommand(id))
                RefreshResults(dialog, appState);
            return 1;
        }
        return 0;
    }
}

void OnTimer(Window dialog, int id)
{
    if (id == RedrawTimer) {
        // Only the views whose picture would change are drawn (on a software rasteriser every
        // frame costs); explicit redraws and exposes keep the views' records up to date.
        DrawCardAreasIfChanged();
        DrawOpponentsIfChanged();
        DrawGainIfChanged();
        DrawActivityStripIfChanged(dialog);
    } else if (id == EstimateTimer) {
        int sum = 0;
        for (int c : appState.handTypeCounts)
            sum += c;
        if (sum < FinalHandCountCap)
            AdvanceFinalHandDistribution();
        if (!appState.winEstimatePaused)
            EstimateWin(appState.holeCards.data(), appState.tableCards.data());
    }
}

// Whether the mouse lies strictly inside an area (its border pixels excluded).
bool StrictlyInside(const GlArea& area)
{
    return area.x < appState.mouseX && appState.mouseX < area.x + area.surface.width &&
           area.y < appState.mouseY && appState.mouseY < area.y + area.surface.height;
}

void OnMouseMove(int x, int y)
{
    AppState& s = appState;
    s.prevMouseX = s.mouseX;
    s.prevMouseY = s.mouseY;
    s.mouseX = x;
    s.mouseY = y;
    s.hoveredCard[HandView] = PickCard(x - s.handCardsArea.x, y - s.handCardsArea.y, HandView);
    s.hoveredCard[TableView] = PickCard(x - s.tableCardsArea.x, y - s.tableCardsArea.y, TableView);
    s.hoverPlayer = PickPlayer(x - s.opponentsArea.x, y - s.opponentsArea.y);
    if (s.draggedPlayer != -1) {
        const int dx = s.mouseX - s.prevMouseX;
        const int dy = s.mouseY - s.prevMouseY;
        s.dragDistance += std::abs(dx) + std::abs(dy);
        MovePlayer(dx, dy, s.draggedPlayer);
        DrawOpponents();
    }
}

void OnLeftDown()
{
    if (appState.roster.contains(appState.hoverPlayer))
        appState.draggedPlayer = appState.hoverPlayer;
    appState.dragDistance = 0;
}

void OnLeftUp(Window dialog)
{
    AppState& s = appState;
    if (StrictlyInside(s.gainArea)) {
        s.winEstimatePaused = !s.winEstimatePaused;
        DrawGain(-1);
        DrawActivityStrip(dialog);
    }
    ChangeCard(s.hoveredCard[HandView], false);
    ChangeCard(s.hoveredCard[TableView], false);
    DrawCardAreas();
    DrawSelectionGrid();
    // A press and release with less than 10 pixels of movement is a click on the marker: it
    // toggles the player without clearing the estimate; the next redraw shows it.
    if (s.dragDistance < 10 && s.roster.contains(s.draggedPlayer)) {
        Player& p = s.roster.at(s.draggedPlayer);
        p.playing = !p.playing;
    }
    s.draggedPlayer = -1;
    if (StrictlyInside(s.opponentsArea))
        PickPlayerLevel(s.mouseX - s.opponentsArea.x, s.mouseY - s.opponentsArea.y);
}

void OnRightUp()
{
    if (appState.roster.contains(appState.hoverPlayer))
        ShowPlayerMenu(appState.mouseX, appState.mouseY);
    else
        ShowAddNewMenu(appState.mouseX, appState.mouseY);
}

void OnDestroy()
{
    for (GlArea* area : {&appState.handCardsArea, &appState.tableCardsArea, &appState.gainArea,
                         &appState.opponentsArea}) {
        DeleteGlContext(area->surface.rc);
        area->surface.rc = nullptr;  // nothing draws through it any more
    }
}

}  // namespace

int MainDialogProc(Window dialog, Message message, const MessageParams& params)
{
    switch (message) {
    case Message::InitDialog:
        return OnInit(dialog);
    case Message::Command:
        return OnCommand(dialog, params.id);
    case Message::Timer:
        OnTimer(dialog, params.id);
        return 1;
    case Message::MouseMove:
        OnMouseMove(params.x, params.y);
        return 1;
    case Message::LeftDown:
        OnLeftDown();
        return 1;
    case Message::LeftUp:
        OnLeftUp(dialog);
        return 1;
    case Message::RightUp:
        OnRightUp();
        return 1;
    case Message::Move:
        appState.dialogOriginX = params.x;
        appState.dialogOriginY = params.y;
        return 1;
    case Message::Paint:
        DrawOutcomeLegends(dialog);
        DrawResultBars(dialog);
        return 1;
    case Message::Destroy:
        OnDestroy();
        return 1;
    case Message::KeyDown:
    case Message::Char:
        return OnTypedKey(dialog, message, params);
    default:
        return 0;  // left to the dialog manager
    }
}
