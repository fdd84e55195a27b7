#include "platform/gltest/GlTestContext.h"

#include <QApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QOpenGLFunctions_2_1>
#include <QOpenGLVersionFunctionsFactory>
#include <QSurfaceFormat>
#include <gtest/gtest.h>

namespace tessara {
namespace {

// Owns the test program's QApplication and destroys it when the tests are over,
// before static destruction, where Qt's own globals are already gone.
class ApplicationEnvironment : public ::testing::Environment {
public:
    ApplicationEnvironment()
    {
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[16] = "tessara-test";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

QSurfaceFormat CompatibilityFormat()
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    format.setStencilBufferSize(8);
    return format;
}

} // namespace

void GlTestContext::EnsureApplication()
{
    if (QCoreApplication::instance()) {
        return;
    }
    QSurfaceFormat::setDefaultFormat(CompatibilityFormat());
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);    // GoogleTest owns it
}

GlTestContext::GlTestContext()
{
    EnsureApplication();
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        m_error = "a QCoreApplication without GUI exists; GL needs QGuiApplication";
        return;
    }
    m_context = std::make_unique<QOpenGLContext>();
    m_context->setFormat(CompatibilityFormat());
    if (!m_context->create()) {
        m_error = "cannot create an OpenGL context (is a display set? run under xvfb-run)";
        return;
    }
    m_surface = std::make_unique<QOffscreenSurface>();
    m_surface->setFormat(m_context->format());
    m_surface->create();
    if (!m_surface->isValid()) {
        m_error = "cannot create an offscreen surface";
        return;
    }
    if (!m_context->makeCurrent(m_surface.get())) {
        m_error = "cannot make the OpenGL context current";
        return;
    }
    m_legacy = QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_2_1>(m_context.get());
    if (!m_legacy || !m_legacy->initializeOpenGLFunctions()) {
        m_error = "the context offers no OpenGL 2.1 fixed-function entry points";
    }
}

GlTestContext::~GlTestContext()
{
    if (m_context) {
        m_context->doneCurrent();
    }
    m_context.reset();    // before the surface it was current on
    m_surface.reset();
}

QOpenGLFunctions* GlTestContext::Functions() const
{
    return m_context ? m_context->functions() : nullptr;
}

bool GlTestContext::MakeCurrent()
{
    return m_context && m_surface && m_context->makeCurrent(m_surface.get());
}

void GlTestContext::DoneCurrent()
{
    if (m_context) {
        m_context->doneCurrent();
    }
}

} // namespace tessara
