// Writing a control's pixels to a picture file, to look at what a view draws.
#pragma once

#include "platform/platform.h"

#include <string_view>

// When the environment variable TABLEWISE_PICTURES names a directory, writes the control's
// pixels there as <name>.ppm (binary, 8 bits per channel); otherwise does nothing.
void SavePictureIfAsked(Window control, std::string_view name);
