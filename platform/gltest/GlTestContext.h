#pragma once

#include <memory>
#include <string>

class QOffscreenSurface;
class QOpenGLContext;
class QOpenGLFunctions;
class QOpenGLFunctions_2_1;

namespace tessara {

// A compatibility-profile OpenGL context, current on an offscreen surface for as
// long as the object lives, so a test can use the same QOpenGLFunctions, buffer and
// framebuffer classes as the view. Creates the QApplication first when there is none.
// Needs a display: tests run under xvfb-run (QT_QPA_PLATFORM=xcb, Mesa's software
// renderer with LIBGL_ALWAYS_SOFTWARE=1).
class GlTestContext {
public:
    GlTestContext();
    ~GlTestContext();
    GlTestContext(const GlTestContext&) = delete;
    GlTestContext& operator=(const GlTestContext&) = delete;

    // False when no context could be made current; Error() says why.
    bool Valid() const { return m_error.empty(); }
    const std::string& Error() const { return m_error; }

    QOpenGLContext* Context() const { return m_context.get(); }
    QOffscreenSurface* Surface() const { return m_surface.get(); }
    // Entry points of the context: the common set, and the fixed-function set the
    // view's drawing uses (matrices, immediate mode, lists).
    QOpenGLFunctions* Functions() const;
    QOpenGLFunctions_2_1* Legacy() const { return m_legacy; }

    bool MakeCurrent();
    void DoneCurrent();

    // Creates the process's QApplication (widgets too) when none exists, with the
    // compatibility profile as the default surface format and shared contexts, as the
    // viewer sets them up. Safe to call repeatedly.
    static void EnsureApplication();

private:
    std::unique_ptr<QOffscreenSurface> m_surface;
    std::unique_ptr<QOpenGLContext> m_context;
    QOpenGLFunctions_2_1* m_legacy = nullptr;    // owned by the context
    std::string m_error;
};

} // namespace tessara
