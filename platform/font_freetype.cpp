// Placeholder until the FreeType loader lands.
#include "platform/font.h"

bool LoadOutlineFont(OutlineFont&)
{
    return false;
}
