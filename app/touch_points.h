// The shell's side of the core's screen touch points (odds/screen.h) and of the card views'
// refresh after a card is placed or taken back.
#pragma once

// Installs them all: the bars, the gain display, the texts and the check box of the main
// dialog, the precalculation dialog's repaint, the message boxes, the refresh of the results.
// Called once at start-up, before any window exists; calling it again changes nothing.
void InstallShellTouchPoints();
