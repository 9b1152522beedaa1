// The precalculation dialog: the choice of how much work goes into the starting-hand table,
// one cell per timer tick, a red progress bar, and the way out.
#pragma once

#include "platform/platform.h"

inline constexpr int ProgressControl = 1086;
inline constexpr int QuickButton = 1093;
inline constexpr int NormalButton = 1094;
inline constexpr int DetailedButton = 1095;

int PrecalcDialogProc(Window dialog, Message message, const MessageParams& params);
