// Hooks for tests and benchmarks only: no product code calls them.
#pragma once

// Forgets the glyphs that the first set-up loaded and tessellated, so that the next
// SetupOutlineFont loads them again (render/outline_text.cpp).
void ForgetLoadedOutlineFont();
