// Selection-mode picking, shared by the card views and the opponents view. A pick makes the
// surface's context current, narrows the projection to 2 x 2 pixels around the point, names
// rectangles one at a time and returns the name of the nearest hit.
//
// Rectangles are sent from a client-side vertex array, never between glBegin and glEnd. In
// selection mode, Mesa's immediate-mode path (Mesa 22, llvmpipe) made the heap grow with the
// number of rectangles picked and never gave the memory back (about 0.4 KB a mouse move over
// five markers); picks from a vertex array leave it flat.
#pragma once

#include "app/state.h"

#include <cstdint>

// Every pick names its rectangles one at a time, so each hit record is four words (a name count
// of 1, the minimum and maximum depths, the name) and a buffer of 1024 words holds 256 of them.
inline constexpr int SelectionBufferSize = 1024;

// The name of the nearest of `hits` such records: the smallest minimum depth (unsigned), the
// earliest record on ties. -1 when hits < 1 (nothing hit, or -1 for an overflowed buffer).
int NearestHitName(const std::uint32_t* records, int hits);

// Starts a pick at a point of the surface (window pixels, origin top left): the context
// current, the pick region set (rows turned upwards), names initialised, both matrices the
// identity apart from the pick region. Fills `viewport` with the surface's viewport. Returns
// false, with nothing current, when the surface cannot be drawn.
bool BeginPick(const GlSurface& surface, int x, int y, int viewport[4]);

// Names one rectangle, in normalised device coordinates at depth 0.
void PickRectangle(std::uint32_t name, float left, float bottom, float right, float top);

// Ends the pick: render mode again, the projection restored, the context still current.
// Returns the nearest name, or -1 when nothing was hit.
int EndPick();
