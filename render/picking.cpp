#include "render/picking.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {

// The hit records of every pick, so that picking on each mouse move allocates nothing.
GLuint pickRecords[SelectionBufferSize];

}  // namespace

int NearestHitName(const std::uint32_t* records, int hits)
{
    if (hits < 1)
        return -1;
    std::uint32_t nearest = records[1];
    std::uint32_t name = records[3];
    for (int i = 1; i < hits; ++i) {
        const std::uint32_t* record = records + 4 * i;
        if (record[1] < nearest) {  // an equal depth keeps the earlier record
            nearest = record[1];
            name = record[3];
        }
    }
    return static_cast<int>(name);
}

bool BeginPick(const GlSurface& surface, int x, int y, int viewport[4])
{
    if (!surface.dc || !surface.rc || !MakeGlCurrent(surface.dc, surface.rc))
        return false;
    glSelectBuffer(SelectionBufferSize, pickRecords);
    glGetIntegerv(GL_VIEWPORT, viewport);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPickMatrix(x, surface.height - y, 2.0, 2.0, viewport);  // window rows count upwards
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(0);
    glEnableClientState(GL_VERTEX_ARRAY);
    return true;
}

void PickRectangle(std::uint32_t name, float left, float bottom, float right, float top)
{
    const GLfloat corners[] = {left, bottom, right, bottom, right, top, left, top};
    glLoadName(name);
    glVertexPointer(2, GL_FLOAT, 0, corners);
    glDrawArrays(GL_QUADS, 0, 4);
}

int EndPick()
{
    glDisableClientState(GL_VERTEX_ARRAY);
    const GLint hits = glRenderMode(GL_RENDER);  // -1 when the buffer overflowed
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    return NearestHitName(pickRecords, hits);
}
