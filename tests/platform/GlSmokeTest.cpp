#include "platform/gltest/GlTest.h"

#include <QColor>
#include <QImage>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>
#include <QOpenGLFunctions_2_1>
#include <QSurfaceFormat>

namespace tessara {
namespace {

class GlSmokeTest : public GlTest {};

TEST_F(GlSmokeTest, ContextIsCompatibilityProfile)
{
    const QSurfaceFormat format = Gl().Context()->format();
    EXPECT_NE(format.profile(), QSurfaceFormat::CoreProfile);
    EXPECT_NE(Gl().Functions(), nullptr);
    EXPECT_NE(Gl().Legacy(), nullptr);
}

TEST_F(GlSmokeTest, DrawsIntoAFramebufferAndReadsBackAPixel)
{
    QOpenGLFramebufferObject fbo(32, 32, QOpenGLFramebufferObject::Depth);
    ASSERT_TRUE(fbo.isValid());
    ASSERT_TRUE(fbo.bind());
    QOpenGLFunctions_2_1& gl = *Gl().Legacy();
    gl.glViewport(0, 0, 32, 32);
    gl.glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    gl.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gl.glMatrixMode(GL_PROJECTION);
    gl.glLoadIdentity();
    gl.glOrtho(0, 32, 0, 32, -1, 1);
    gl.glMatrixMode(GL_MODELVIEW);
    gl.glLoadIdentity();
    gl.glColor3f(1.0f, 0.0f, 0.0f);
    gl.glBegin(GL_QUADS);    // the left half
    gl.glVertex2f(0, 0);
    gl.glVertex2f(16, 0);
    gl.glVertex2f(16, 32);
    gl.glVertex2f(0, 32);
    gl.glEnd();
    gl.glFinish();

    unsigned char left[4] = {};
    unsigned char right[4] = {};
    gl.glReadPixels(4, 16, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, left);
    gl.glReadPixels(28, 16, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, right);
    EXPECT_EQ(gl.glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(left[0], 255);
    EXPECT_EQ(left[1], 0);
    EXPECT_EQ(left[2], 0);
    EXPECT_EQ(right[0], 0);
    EXPECT_EQ(right[2], 255);
    fbo.release();

    const QImage image = fbo.toImage();
    EXPECT_EQ(image.pixelColor(4, 16), QColor(255, 0, 0));
}

} // namespace
} // namespace tessara
