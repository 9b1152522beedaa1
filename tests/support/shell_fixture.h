// A running main dialog on the headless platform, for tests of the program's behaviour.
#pragma once

#include "app/state.h"

#include <functional>
#include <utility>

// Thrown by the exit handler the fixture installs, so that a test can catch ExitProcess.
struct ProcessExit {
    int code;
};

// Resets the state and the headless world, makes the drawing objects, fills the starting-hand
// table at the quick level, creates the main dialog and its four OpenGL areas and loads the
// card texture. Returns the main dialog.
Window StartMainDialog();

// Installs an exit handler that throws ProcessExit.
void CatchProcessExit();

// The exit code with which an action ended the process, or 1000 when it did not.
int ExitCodeOf(const std::function<void()>& action);

// Opens the card selection window and loads the card texture, as start-up does; returns it.
Window OpenSelectionWindow();

// The open card selection window, or null.
Window SelectionWindow();

// Sends a mouse message to the main dialog at (x, y) in its client pixels.
void MouseAt(Message message, int x, int y);

// Moves the mouse onto the centre of a player's marker icon; returns that point in the main
// dialog's client pixels.
std::pair<int, int> HoverMarker(int index);
