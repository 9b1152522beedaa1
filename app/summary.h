// The plain-text summary of the main dialog that Control+C copies: one item a line, the texts
// as they are on the screen.
#pragma once

#include "platform/platform.h"

#include <string>

// The variant, the hole cards and the board ("As Kd"), the hand type and the best possible
// hand, the ten category percentages, win / tie / loss and the gain with the opponents it was
// computed for, whether opponent modelling is on and whether the win estimate is paused. Reads
// the dialog's controls and the gain display's last value; computes no estimate.
std::string ResultSummary(Window mainDialog);
