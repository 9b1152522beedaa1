#include "platform/gl.h"
#include "platform/headless/headless.h"
#include "tests/support/gl_fixture.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

struct GlPlatform : ::testing::Test {
    void SetUp() override
    {
        HeadlessReset();
        ASSERT_TRUE(HeadlessGlAvailable()) << "Mesa's surfaceless EGL display is missing";
    }
};

TEST_F(GlPlatform, ContextsDrawTopRowFirstShareTexturesAndPick)
{
    GlSurface a, b;
    MakeGlSurface(a, 40, 40);
    Window control = MakeGlSurface(b, 64, 32);
    ASSERT_TRUE(MakeGlCurrent(a.dc, a.rc));
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    ASSERT_TRUE(MakeGlCurrent(b.dc, b.rc));
    EXPECT_EQ(CurrentGlContext(), b.rc);
    EXPECT_EQ(glIsTexture(texture), GL_TRUE);  // made in a, known in b

    glClearColor(1, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(0, 1, 0);
    glRectf(-1, 0, 1, 1);  // the upper half
    SwapGlBuffers(b.dc);
    EXPECT_EQ(HeadlessPixel(control, 5, 2), Rgb(0, 255, 0));
    EXPECT_EQ(HeadlessPixel(control, 60, 14), Rgb(0, 255, 0));
    EXPECT_EQ(HeadlessPixel(control, 5, 30), Rgb(255, 0, 0));

    // Selection mode: a rectangle named 7 over the right half is hit at the right only.
    auto pick = [](int x, int y) {
        GLuint buffer[64];
        GLint viewport[4];
        glSelectBuffer(64, buffer);
        glGetIntegerv(GL_VIEWPORT, viewport);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPickMatrix(x, 32 - y, 2.0, 2.0, viewport);
        glRenderMode(GL_SELECT);
        glInitNames();
        glPushName(7);
        glRectf(0, -1, 1, 1);
        return glRenderMode(GL_RENDER) > 0 ? static_cast<int>(buffer[3]) : -1;
    };
    EXPECT_EQ(pick(50, 16), 7);
    EXPECT_EQ(pick(14, 16), -1);
    EXPECT_TRUE(MakeGlCurrent(nullptr, nullptr));
    EXPECT_EQ(CurrentGlContext(), nullptr);
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
}
