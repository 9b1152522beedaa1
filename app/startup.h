// Start-up and the message loop: the program's entry.
#pragma once

#include "platform/platform.h"

// Creates the drawing objects, runs the precalculation dialog, creates the main dialog with its
// four OpenGL areas and the card selection window, fills the roster, loads the card texture
// and runs the message loop. Returns the process exit code.
int RunTablewise(Instance instance);

// The four OpenGL areas of the main dialog: contexts, positions, sizes, fonts, first frames.
// Ends the process when an area cannot be set up.
void SetupGlAreas();

// The class "CardSelectWindow" and its window "Card Selection Window" at (10, 10), 400 by 180,
// owned by the main dialog; the main dialog keeps the focus. False when it cannot be made.
bool RegisterCardSelectClass(Instance instance);
bool CreateCardSelectWindow(Instance instance);
