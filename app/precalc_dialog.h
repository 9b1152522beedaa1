// The precalculation dialog: the choice of how much work goes into the starting-hand table,
// one cell per timer tick, a red progress bar, and the way out.
#pragma once

#include "platform/platform.h"

inline constexpr int ProgressControl = 1086;
inline constexpr int QuickButton = 1093;
inline constexpr int NormalButton = 1094;
inline constexpr int DetailedButton = 1095;

// The one timer: a cell of the starting-hand table per tick, every millisecond.
inline constexpr int PrecalcTimer = 1;
inline constexpr int PrecalcTimerPeriodMs = 1;

int PrecalcDialogProc(Window dialog, Message message, const MessageParams& params);
