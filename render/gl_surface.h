// Rendering surfaces, the frame protocol every view follows, and the card texture atlas.
//
// Every view draws in normalised device coordinates: both matrices are the identity, so x runs
// from -1 at the left edge to +1 at the right and y from -1 at the bottom to +1 at the top,
// whatever the area's size. No context stays current between operations.
#pragma once

#include "app/state.h"
#include "platform/gl.h"

#include <cstdint>
#include <span>

// The owner of the graphics message boxes; null until InitGlState.
extern Window glOwnerWindow;

// Texture coordinates of the atlas cells. A corner is the top-left of a cell: the s of its
// left edge and the t of its top edge (t = 0 is the bottom row of the bitmap); the cell covers
// s..s + cellWidth and t - cellHeight..t.
struct TexCorner {
    float s = 0;
    float t = 0;
};

struct CardAtlas {
    float cellWidth = 0.25f;    // 32 of 128 pixels
    float cellHeight = 0.125f;  // 32 of 256 pixels
    TexCorner suitCorner[4];    // clubs, diamonds, hearts, spades (the card's suit)
    TexCorner rankCorner[13];   // A, 2, ..., 10, J, Q, K (the card's rank index)
    TexCorner playingIconCorner;
    TexCorner idleIconCorner;
    std::uint32_t cardTexture = 0;  // the atlas texture's name
};
extern CardAtlas cardAtlas;

// The atlas cell whose top-left corner is `cell`, upright over the rectangle (left, bottom) to
// (right, top), as one quad; between glBegin(GL_QUADS) and glEnd, with the texture bound.
void TexturedCell(TexCorner cell, float left, float bottom, float right, float top);

// The hover tint: translucent green over the rectangle, a little in front of what it covers.
void DrawHoverTint(float left, float bottom, float right, float top);

// Chooses and sets the fixed pixel format on the surface and makes a context for it (not
// current). On failure shows "Could not choose Pixel format" / "Could not set Pixel format"
// (caption "Pixel format problem") or "Could not create HGLRC" (caption "HGLRC problem"),
// owned by glOwnerWindow, and returns null.
GlContext CreateGlContext(DeviceContext dc);

// Records the main dialog as the owner of later graphics messages. Always true.
bool InitGlState(Window mainDialog);

// Loads the identity into the projection and then the model-view matrix, which stays selected.
void ResetMatrices();

// The start of a frame: makes the surface's context current and resets the matrices. Returns
// false, with nothing current, when the surface cannot be drawn; the view then draws nothing.
bool BeginFrame(const GlSurface& surface);

// The end of a frame: flush, show it, release the context.
void EndFrame(const GlSurface& surface);

// ---------------------------------------------------------------------------------------------
// Frame records. The redraw timers draw a view again only when its picture would change: each
// view keeps a record of the inputs of its last frame, taken whenever a frame was drawn (by
// the timer, by an explicit redraw after a change, or by the toolkit's expose), and a tick
// whose inputs equal the record draws nothing.
// ---------------------------------------------------------------------------------------------

// The drawing generation: starts at 1 and advances whenever pictures may change while no
// view's inputs do (a rendering context made, the card texture loaded, a new main dialog), so
// that every view draws its next frame in full.
std::uint64_t DrawingGeneration();
void InvalidateViewFrames();

// The inputs every view shares: the surface (device and rendering context, size) and the
// drawing generation. A default stamp matches no frame.
struct SurfaceStamp {
    DeviceContext dc = nullptr;
    GlContext rc = nullptr;
    int width = 0;
    int height = 0;
    std::uint64_t generation = 0;

    bool operator==(const SurfaceStamp&) const = default;
};
SurfaceStamp StampOf(const GlSurface& surface);

// Makes the atlas texture in every context that draws cards or icons (selection, hand, table,
// opponents; not the gain view) from the embedded bitmap and fills cardAtlas. Returns false,
// touching no context, when the bitmap is missing or malformed.
bool LoadCardTexture();

// The same from a given packed bitmap (40-byte header, bottom-up 24-bit rows, 4-byte aligned).
bool LoadCardTextureFrom(std::span<const std::uint8_t> bitmap);
