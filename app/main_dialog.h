// The main dialog, "Tablewise Application": where every user action and every unit of
// background work enters the program.
#pragma once

#include "odds/screen.h"  // the controls the estimates write
#include "platform/platform.h"

// The main dialog's template (resources/dialog_templates.cpp).
inline constexpr int MainDialogTemplate = 101;

// Commands and controls of the main dialog.
inline constexpr int NewHandCommand = 3;
inline constexpr int VariantButton = 1091;
inline constexpr int HandCardsControl = 1094;
inline constexpr int TableCardsControl = 1095;
inline constexpr int GainControl = 1015;
inline constexpr int OpponentsControl = 1096;

// Timers: 1 redraws the views every 250 ms, 2 advances the estimates every 50 ms.
inline constexpr int RedrawTimer = 1;
inline constexpr int EstimateTimer = 2;

int MainDialogProc(Window dialog, Message message, const MessageParams& params);
