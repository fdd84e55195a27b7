#include "viewer/buffers/ViewLayers.h"

#include "viewer/render/COpenGLBaseView.h"

namespace {

COpenGLBaseView::Layer BaseLayer(SceneLayers::Layer layer)
{
    switch (layer) {
    case SceneLayers::kGrid: return COpenGLBaseView::Layer::Grid;
    case SceneLayers::kOverlay: return COpenGLBaseView::Layer::Overlay;
    case SceneLayers::kTin: return COpenGLBaseView::Layer::Tin;
    case SceneLayers::kFigure: return COpenGLBaseView::Layer::Figure;
    case SceneLayers::kPart: return COpenGLBaseView::Layer::Part;
    case SceneLayers::kCloud: return COpenGLBaseView::Layer::Cloud;
    case SceneLayers::kHostPolygon: return COpenGLBaseView::Layer::HostPolygon;
    default: return COpenGLBaseView::Layer::PointPick;
    }
}

}  // namespace

void ViewLayers::Bind(Layer layer)
{
    m_view.BindLayer(BaseLayer(layer));
    if (GlFunctions* gl = m_view.Gl()) gl->glViewport(0, 0, m_view.ClientWidth(), m_view.ClientHeight());
}

void ViewLayers::BindDefault() { m_view.BindWindowFramebuffer(); }

void ViewLayers::Prepare(Layer layer) { m_view.PrepareOffscreenTarget(BaseLayer(layer)); }

GLuint ViewLayers::Framebuffer(Layer layer) const
{
    GlFunctions* gl = m_view.Gl();
    if (gl == nullptr) return 0;
    // The base view keeps its layers to itself: bind one and ask GL for its name.
    GLint previous = 0;
    gl->glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previous);
    m_view.BindLayer(BaseLayer(layer));
    GLint name = 0;
    gl->glGetIntegerv(GL_FRAMEBUFFER_BINDING, &name);
    gl->glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previous));
    return static_cast<GLuint>(name);
}

int ViewLayers::Width() const { return m_view.ClientWidth(); }

int ViewLayers::Height() const { return m_view.ClientHeight(); }
