#include "opponents/player_dialog.h"

#include "app/state.h"
#include "platform/windows1252.h"

#include <algorithm>
#include <string>

AddPlayerValues addPlayerValues;

namespace {

// GetDlgItemText into 32 bytes: the name keeps at most 31 characters.
constexpr std::size_t MaxNameLength = 31;

int OnAddPlayerInit(Window dialog)
{
    addPlayerValues.newPlayerAggression = 5;
    addPlayerValues.newPlayerBluffing = 5;
    for (int id : {AggressionBarControl, BluffingBarControl}) {
        ScrollInfo info;
        info.min = 0;
        info.max = 10;
        info.page = 1;
        info.pos = 5;
        SetScrollInfo(ControlWindow(dialog, id), info, true);
    }
    SetControlText(dialog, NameEditControl,
                   "Opponent " + std::to_string(appState.roster.count() + 1));
    return 0;  // the system does not move the focus to the first control
}

int OnAddPlayerCommand(Window dialog, int id)
{
    if (id == OkCommand) {
        // The toolkit gives UTF-8; names are kept as Windows-1252 bytes so that every
        // character draws with its own glyph.
        std::string name = Utf8ToWindows1252(ControlText(dialog, NameEditControl));
        if (name.size() > MaxNameLength)
            name.resize(MaxNameLength);
        addPlayerValues.newPlayerName = std::move(name);
        EndDialog(dialog, OkCommand);
        return 1;
    }
    if (id == CancelCommand)
        EndDialog(dialog, 0);
    return 0;
}

int OnAddPlayerScroll(Window dialog, const MessageParams& params)
{
    Window bar = params.control;
    const bool aggression = bar && bar == ControlWindow(dialog, AggressionBarControl);
    const bool bluffing = bar && bar == ControlWindow(dialog, BluffingBarControl);
    if (!aggression && !bluffing)
        return 0;
    const ScrollInfo info = GetScrollInfo(bar);
    int pos = info.pos;
    switch (params.id) {
    case ScrollLineLeft:
        pos -= 1;
        break;
    case ScrollLineRight:
        pos += 1;
        break;
    case ScrollPageLeft:
        pos -= 5;  // the page step is 5 although the thumb's page size is 1
        break;
    case ScrollPageRight:
        pos += 5;
        break;
    case ScrollThumbTrack:
        pos = params.position;
        break;
    default:
        break;  // the final thumb position and the end of scrolling keep the tracked place
    }
    pos = std::clamp(pos, 0, 10);
    if (aggression)
        addPlayerValues.newPlayerAggression = pos;
    else
        addPlayerValues.newPlayerBluffing = pos;
    SetScrollPosition(bar, pos, true);
    return 0;
}

// Appends "0".."10" with ids first..first+10, the current level checked.
Menu LevelMenu(int first, int current)
{
    Menu menu = CreatePopupMenu();
    for (int v = 0; v <= 10; ++v)
        AppendMenuItem(menu, first + v, std::to_string(v));
    CheckMenuItem(menu, first + current, true);
    return menu;
}

void TrackAtMouse(Menu menu, int mouseX, int mouseY)
{
    TrackPopupMenu(menu, appState.dialogOriginX + mouseX, appState.dialogOriginY + mouseY,
                   appState.mainDialog);
    DestroyMenu(menu);
}

}  // namespace

int AddPlayerDialogProc(Window dialog, Message message, const MessageParams& params)
{
    switch (message) {
    case Message::InitDialog:
        return OnAddPlayerInit(dialog);
    case Message::Command:
        return OnAddPlayerCommand(dialog, params.id);
    case Message::HScroll:
        return OnAddPlayerScroll(dialog, params);
    default:
        return 0;
    }
}

void RunAddPlayerDialog()
{
    if (RunModalDialog(AddPlayerDialogTemplate, appState.mainDialog, AddPlayerDialogProc) !=
        OkCommand)
        return;
    Player player;
    player.name = addPlayerValues.newPlayerName;
    player.bluffing = addPlayerValues.newPlayerBluffing;
    player.aggression = addPlayerValues.newPlayerAggression;
    player.playing = true;
    player.x = MarkerEdgeMargin;
    player.y = MarkerEdgeMargin;
    if (appState.roster.append(player))
        ResetForOpponentChange(appState);
}

void ShowAddNewMenu(int mouseX, int mouseY)
{
    Menu menu = CreatePopupMenu();
    AppendMenuItem(menu, AddNewCommand, "Add New");
    TrackAtMouse(menu, mouseX, mouseY);
}

void ShowPlayerMenu(int mouseX, int mouseY)
{
    appState.selectedPlayer = appState.hoverPlayer;
    if (!appState.roster.contains(appState.selectedPlayer))
        return;
    const Player& p = appState.roster.at(appState.selectedPlayer);
    Menu menu = CreatePopupMenu();
    AppendMenuItem(menu, PlayingCommand, "Playing");
    if (p.playing)
        CheckMenuItem(menu, PlayingCommand, true);
    AppendSubmenu(menu, LevelMenu(FirstAggressionCommand, p.aggression), "Aggression");
    AppendSubmenu(menu, LevelMenu(FirstBluffingCommand, p.bluffing), "Bluffing");
    AppendMenuSeparator(menu);
    AppendMenuItem(menu, DeleteCommand, "Delete");
    TrackAtMouse(menu, mouseX, mouseY);
}

bool PerformPlayerCommand(int command)
{
    const int index = appState.selectedPlayer;
    const bool valid = appState.roster.contains(index);
    if (command == PlayingCommand) {
        if (valid) {
            Player& p = appState.roster.at(index);
            p.playing = !p.playing;
            ResetForOpponentChange(appState);
        }
        return true;
    }
    if (command == DeleteCommand) {
        if (valid) {
            appState.roster.eraseAt(index);
            ResetForOpponentChange(appState);
            // The pointer state may name the deleted player or one that moved down: forget
            // it until the next mouse move picks again.
            appState.hoverPlayer = -1;
            appState.draggedPlayer = -1;
        }
        return true;
    }
    const bool aggression =
        command >= FirstAggressionCommand && command <= FirstAggressionCommand + 10;
    const bool bluffing = command >= FirstBluffingCommand && command <= FirstBluffingCommand + 10;
    if (valid && (aggression || bluffing)) {
        Player& p = appState.roster.at(index);
        int& level = aggression ? p.aggression : p.bluffing;
        const int value = command - (aggression ? FirstAggressionCommand : FirstBluffingCommand);
        if (level != value) {
            level = value;
            ResetForOpponentChange(appState);
        }
    }
    return false;
}
