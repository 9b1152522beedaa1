// Editing the roster with the right mouse button: the one-item "Add New" menu, the player menu
// (playing, aggression, bluffing, delete) and the modal "Add New Player" dialog.
#pragma once

#include "resources/control_ids.h"

#include "platform/platform.h"

#include <string>

// Menu commands, as they arrive at the main dialog.

// Controls of the add-player dialog.

// The values of the add-player dialog: the confirmed name (Windows-1252, at most 31 bytes) and
// the positions of the two scroll bars.
struct AddPlayerValues {
    std::string newPlayerName;
    int newPlayerAggression = 5;
    int newPlayerBluffing = 5;
};
extern AddPlayerValues addPlayerValues;

// Runs the dialog modally; when confirmed, appends the new player at (12, 12), playing, and
// clears the win estimate.
void RunAddPlayerDialog();

// The procedure of the add-player dialog.
int AddPlayerDialogProc(Window dialog, Message message, const MessageParams& params);

// Opens the one-item menu at the mouse position (main dialog client pixels).
void ShowAddNewMenu(int mouseX, int mouseY);

// Makes the hovered player the selected one and opens its menu at the mouse position. Does
// nothing when the hovered index names no player.
void ShowPlayerMenu(int mouseX, int mouseY);

// Performs a player menu command (1017, 1018, 1020..1041) on the selected player; an index
// that names no player changes nothing. Returns whether the main dialog should refresh.
bool PerformPlayerCommand(int command);
