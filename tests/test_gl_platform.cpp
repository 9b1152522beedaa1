#include "platform/gl.h"
#include "platform/headless/headless.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

namespace {

struct Surface {
    Window control = nullptr;
    DeviceContext dc = nullptr;
    GlContext rc = nullptr;
};

Surface MakeSurface(int width, int height)
{
    Window host = HeadlessCreateWindow(nullptr, 300, 300);
    Surface s;
    s.control = HeadlessAddControl(host, 1, 0, 0, width, height);
    s.dc = GetDeviceContext(s.control);
    const int format = ChooseGlPixelFormat(s.dc);
    EXPECT_NE(format, 0);
    EXPECT_TRUE(SetGlPixelFormat(s.dc, format));
    s.rc = CreateGlContextFor(s.dc);
    EXPECT_NE(s.rc, nullptr);
    return s;
}

class GlPlatform : public ::testing::Test {
protected:
    void SetUp() override
    {
        HeadlessReset();
        HeadlessFailGl(GlFailure::None);
        ASSERT_TRUE(HeadlessGlAvailable()) << "Mesa's surfaceless EGL display is missing";
    }
};

}  // namespace

TEST_F(GlPlatform, FramesReachTheControlsPixelsTopRowFirst)
{
    Surface s = MakeSurface(64, 32);
    ASSERT_TRUE(MakeGlCurrent(s.dc, s.rc));
    EXPECT_EQ(CurrentGlContext(), s.rc);
    glClearColor(1, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor3f(0, 1, 0);
    glBegin(GL_QUADS);  // the upper half, in normalised coordinates
    glVertex2f(-1, 0);
    glVertex2f(1, 0);
    glVertex2f(1, 1);
    glVertex2f(-1, 1);
    glEnd();
    glFlush();
    SwapGlBuffers(s.dc);
    EXPECT_TRUE(MakeGlCurrent(nullptr, nullptr));
    EXPECT_EQ(CurrentGlContext(), nullptr);

    EXPECT_EQ(HeadlessPixel(s.control, 5, 2), Rgb(0, 255, 0));
    EXPECT_EQ(HeadlessPixel(s.control, 60, 14), Rgb(0, 255, 0));
    EXPECT_EQ(HeadlessPixel(s.control, 5, 30), Rgb(255, 0, 0));
    DeleteGlContext(s.rc);
}

TEST_F(GlPlatform, ContextsShareTexturesAndSelectionModePicks)
{
    Surface a = MakeSurface(40, 40);
    Surface b = MakeSurface(40, 40);
    ASSERT_TRUE(MakeGlCurrent(a.dc, a.rc));
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    MakeGlCurrent(nullptr, nullptr);

    ASSERT_TRUE(MakeGlCurrent(b.dc, b.rc));
    EXPECT_EQ(glIsTexture(texture), GL_TRUE);  // made in a, known in b

    // Selection mode: a quad over the right half is hit at the right, missed at the left.
    GLuint buffer[64];
    GLint viewport[4];
    auto pick = [&](int x, int y) {
        glSelectBuffer(64, buffer);
        glGetIntegerv(GL_VIEWPORT, viewport);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        gluPickMatrix(x, 40 - y, 2.0, 2.0, viewport);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glRenderMode(GL_SELECT);
        glInitNames();
        glPushName(0);
        glLoadName(7);
        glBegin(GL_QUADS);
        glVertex2f(0, -1);
        glVertex2f(1, -1);
        glVertex2f(1, 1);
        glVertex2f(0, 1);
        glEnd();
        const GLint hits = glRenderMode(GL_RENDER);
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        return hits > 0 ? static_cast<int>(buffer[3]) : -1;
    };
    EXPECT_EQ(pick(30, 20), 7);
    EXPECT_EQ(pick(10, 20), -1);
    MakeGlCurrent(nullptr, nullptr);
    DeleteGlContext(a.rc);
    DeleteGlContext(b.rc);
}

TEST_F(GlPlatform, FailuresAtEachStepYieldNoContext)
{
    Window host = HeadlessCreateWindow(nullptr, 100, 100);
    DeviceContext dc = GetDeviceContext(HeadlessAddControl(host, 1, 0, 0, 10, 10));

    HeadlessFailGl(GlFailure::ChooseFormat);
    EXPECT_EQ(ChooseGlPixelFormat(dc), 0);
    HeadlessFailGl(GlFailure::SetFormat);
    EXPECT_FALSE(SetGlPixelFormat(dc, ChooseGlPixelFormat(dc)));
    HeadlessFailGl(GlFailure::CreateContext);
    EXPECT_TRUE(SetGlPixelFormat(dc, ChooseGlPixelFormat(dc)));
    EXPECT_EQ(CreateGlContextFor(dc), nullptr);
    HeadlessFailGl(GlFailure::None);

    // A null context or a destroyed window cannot be made current; nothing is left current.
    EXPECT_FALSE(MakeGlCurrent(dc, nullptr));
    GlContext rc = CreateGlContextFor(dc);
    ASSERT_NE(rc, nullptr);
    DestroyWindow(host);
    EXPECT_FALSE(MakeGlCurrent(dc, rc));
    EXPECT_EQ(CurrentGlContext(), nullptr);
    SwapGlBuffers(dc);  // harmless
    DeleteGlContext(rc);
    DeleteGlContext(nullptr);
}
