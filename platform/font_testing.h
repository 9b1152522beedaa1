// Hooks for tests only: no product code calls them.
#pragma once

// The next LoadOutlineFont fails as if no font could be read (platform/font_freetype.cpp).
void FailNextOutlineFontLoad();
