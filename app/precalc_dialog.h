// The precalculation dialog: the choice of how much work goes into the starting-hand table,
// one cell per timer tick, a red progress bar, and the way out.
#pragma once

#include "resources/control_ids.h"

#include "platform/platform.h"

// The one timer: a cell of the starting-hand table per tick, every millisecond.
inline constexpr int PrecalcTimer = 1;
inline constexpr int PrecalcTimerPeriodMs = 1;

int PrecalcDialogProc(Window dialog, Message message, const MessageParams& params);
