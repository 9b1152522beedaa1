// A running main dialog on the headless platform, for tests of the program's behaviour.
#pragma once

#include "app/state.h"

#include <functional>
#include <utility>

// Resets the state and the headless world and starts the main dialog as start-up does (the
// starting-hand table at the quick level, four OpenGL areas, the card texture); returns it.
Window StartMainDialog();

// Installs an exit handler that throws, so that ExitCodeOf can catch ExitProcess.
void CatchProcessExit();
// The exit code with which an action ended the process, or 1000 when it did not.
int ExitCodeOf(const std::function<void()>& action);

// Opens the card selection window and loads the card texture, as start-up does; returns it.
Window OpenSelectionWindow();
// The open card selection window, or null.
Window SelectionWindow();

// Sends a mouse message to the main dialog at (x, y) in its client pixels.
void MouseAt(Message message, int x, int y);
// Moves the mouse onto a player's marker icon; returns its centre in the dialog's client pixels.
std::pair<int, int> HoverMarker(int index);
