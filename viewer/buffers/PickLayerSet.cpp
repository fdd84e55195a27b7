#include "viewer/buffers/PickLayerSet.h"

#include "viewer/render/COpenGLBaseView.h"

#include <QOpenGLFramebufferObject>

PickLayerSet::PickLayerSet(COpenGLBaseView& view) : m_view(view) {}

PickLayerSet::~PickLayerSet() = default;

void PickLayerSet::Bind(Layer layer)
{
    GlFunctions* gl = m_view.Gl();
    auto& fbo = m_layers[static_cast<std::size_t>(layer)];
    if (gl == nullptr) return;
    if (!fbo) Prepare(layer);
    if (!fbo) return;
    fbo->bind();
    gl->glViewport(0, 0, Width(), Height());
}

void PickLayerSet::BindDefault() { m_view.BindWindowFramebuffer(); }

void PickLayerSet::Prepare(Layer layer)
{
    GlFunctions* gl = m_view.Gl();
    if (gl == nullptr || Width() <= 0 || Height() <= 0) return;
    auto& fbo = m_layers[static_cast<std::size_t>(layer)];
    if (!fbo || fbo->width() != Width() || fbo->height() != Height()) {
        QOpenGLFramebufferObjectFormat format;
        format.setAttachment(QOpenGLFramebufferObject::Depth);
        format.setInternalTextureFormat(GL_RGBA8);
        fbo = std::make_unique<QOpenGLFramebufferObject>(Width(), Height(), format);
    }
    fbo->bind();
    gl->glViewport(0, 0, Width(), Height());
    // Id 0 with alpha 0 and the far plane: a pixel no element covers.
    gl->glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    gl->glClearDepth(1.0);
    gl->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    BindDefault();
}

GLuint PickLayerSet::Framebuffer(Layer layer) const
{
    const auto& fbo = m_layers[static_cast<std::size_t>(layer)];
    return fbo ? fbo->handle() : 0;
}

int PickLayerSet::Width() const { return m_view.ClientWidth(); }

int PickLayerSet::Height() const { return m_view.ClientHeight(); }

bool PickLayerSet::ReadPixel(Layer layer, int x, int y, float& depth, std::array<std::uint8_t, 3>& rgb)
{
    GlFunctions* gl = m_view.Gl();
    auto& fbo = m_layers[static_cast<std::size_t>(layer)];
    if (gl == nullptr || !fbo || x < 0 || y < 0 || x >= fbo->width() || y >= fbo->height()) return false;
    fbo->bind();
    gl->glPixelStorei(GL_PACK_ALIGNMENT, 1);
    gl->glReadPixels(x, y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    gl->glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    BindDefault();
    return true;
}

void PickLayerSet::Release()
{
    for (auto& fbo : m_layers) fbo.reset();
}
