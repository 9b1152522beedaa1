// Start-up and the message loop: the program's entry.
#pragma once

#include "platform/platform.h"

// Creates the drawing objects, runs the precalculation dialog, creates the main dialog with its
// four OpenGL areas and the card selection window, fills the roster, loads the card texture
// and runs the message loop. Returns the process exit code.
int RunTablewise(Instance instance);
