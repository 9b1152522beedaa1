#include "render/gl_surface.h"

#include "resources/card_atlas.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstring>

#ifndef GL_BGR_EXT
#define GL_BGR_EXT 0x80E0
#endif

Window glOwnerWindow = nullptr;
CardAtlas cardAtlas;

namespace {

std::uint64_t drawingGeneration = 1;

}  // namespace

std::uint64_t DrawingGeneration()
{
    return drawingGeneration;
}

void InvalidateViewFrames()
{
    ++drawingGeneration;
}

SurfaceStamp StampOf(const GlSurface& surface)
{
    return {surface.dc, surface.rc, surface.width, surface.height, drawingGeneration};
}

void TexturedCell(TexCorner cell, float left, float bottom, float right, float top)
{
    const CardAtlas& atlas = cardAtlas;
    glTexCoord2f(cell.s, cell.t - atlas.cellHeight);
    glVertex3f(left, bottom, 0);
    glTexCoord2f(cell.s + atlas.cellWidth, cell.t - atlas.cellHeight);
    glVertex3f(right, bottom, 0);
    glTexCoord2f(cell.s + atlas.cellWidth, cell.t);
    glVertex3f(right, top, 0);
    glTexCoord2f(cell.s, cell.t);
    glVertex3f(left, top, 0);
}

void DrawHoverTint(float left, float bottom, float right, float top)
{
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    glColor4f(0, 1, 0, 0.3f);
    glBegin(GL_QUADS);
    glVertex3f(left, bottom, -0.1f);
    glVertex3f(right, bottom, -0.1f);
    glVertex3f(right, top, -0.1f);
    glVertex3f(left, top, -0.1f);
    glEnd();
    glDisable(GL_BLEND);
}

GlContext CreateGlContext(DeviceContext dc)
{
    InvalidateViewFrames();  // a new context starts empty, whatever a record says
    const int format = ChooseGlPixelFormat(dc);
    if (format == 0) {
        ShowMessageBox(glOwnerWindow, "Could not choose Pixel format", "Pixel format problem",
                       MessageBoxButtons::Ok);
        return nullptr;
    }
    if (!SetGlPixelFormat(dc, format)) {
        ShowMessageBox(glOwnerWindow, "Could not set Pixel format", "Pixel format problem",
                       MessageBoxButtons::Ok);
        return nullptr;
    }
    GlContext rc = CreateGlContextFor(dc);
    if (!rc)
        ShowMessageBox(glOwnerWindow, "Could not create HGLRC", "HGLRC problem",
                       MessageBoxButtons::Ok);
    return rc;
}

bool InitGlState(Window mainDialog)
{
    glOwnerWindow = mainDialog;
    return true;
}

void ResetMatrices()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

bool BeginFrame(const GlSurface& surface)
{
    if (!surface.dc || !surface.rc || !MakeGlCurrent(surface.dc, surface.rc))
        return false;
    ResetMatrices();
    return true;
}

void EndFrame(const GlSurface& surface)
{
    glFlush();
    SwapGlBuffers(surface.dc);
    MakeGlCurrent(nullptr, nullptr);
}

namespace {

std::int32_t ReadInt32(const std::uint8_t* p)
{
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
        (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24));
}

std::uint16_t ReadUint16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

void FillAtlasCoordinates(CardAtlas& atlas)
{
    for (int s = 0; s < 4; ++s)
        atlas.suitCorner[s] = {0.25f * static_cast<float>(s), 1.0f};
    for (int i = 0; i < 13; ++i)
        atlas.rankCorner[i] = {static_cast<float>((i % 4) * 32) / 128.0f,
                               1.0f - static_cast<float>((1 + i / 4) * 32) / 256.0f};
    atlas.playingIconCorner = {0.5f, 0.375f};
    atlas.idleIconCorner = {0.75f, 0.375f};
}

}  // namespace

bool LoadCardTextureFrom(std::span<const std::uint8_t> bitmap)
{
    // A packed bitmap: a 40-byte header, no colour table, 24-bit bottom-up rows padded to four
    // bytes (OpenGL's default unpack alignment).
    if (bitmap.size() < 40 || ReadInt32(bitmap.data()) != 40)
        return false;
    const std::int32_t width = ReadInt32(bitmap.data() + 4);
    const std::int32_t height = ReadInt32(bitmap.data() + 8);
    const std::uint16_t bitsPerPixel = ReadUint16(bitmap.data() + 14);
    const std::int32_t compression = ReadInt32(bitmap.data() + 16);
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096 || bitsPerPixel != 24 ||
        compression != 0)
        return false;
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    if (bitmap.size() < 40 + rowBytes * static_cast<std::size_t>(height))
        return false;
    const std::uint8_t* pixels = bitmap.data() + 40;

    const GlSurface* surfaces[] = {&appState.selectionSurface, &appState.handCardsArea.surface,
                                   &appState.tableCardsArea.surface,
                                   &appState.opponentsArea.surface};
    for (const GlSurface* surface : surfaces) {
        if (!surface->dc || !surface->rc || !MakeGlCurrent(surface->dc, surface->rc))
            continue;  // a surface without a context draws nothing anyway
        GLuint texture = 0;
        glGenTextures(1, &texture);
        cardAtlas.cardTexture = texture;
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_BGR_EXT, GL_UNSIGNED_BYTE, pixels);
    }
    MakeGlCurrent(nullptr, nullptr);
    FillAtlasCoordinates(cardAtlas);
    InvalidateViewFrames();  // every card and icon is drawn from the new texture
    return true;
}

bool LoadCardTexture()
{
    return LoadCardTextureFrom(CardAtlasResource());
}
