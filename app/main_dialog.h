// The main dialog, "Tablewise Application": where every user action and every unit of
// background work enters the program.
#pragma once

#include "resources/control_ids.h"

#include "odds/screen.h"  // the controls the estimates write
#include "platform/platform.h"

// Commands and controls of the main dialog.

// Timers: 1 redraws the views every 250 ms, 2 advances the estimates every 50 ms.
inline constexpr int RedrawTimer = 1;
inline constexpr int EstimateTimer = 2;

int MainDialogProc(Window dialog, Message message, const MessageParams& params);
