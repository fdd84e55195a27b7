#pragma once

#include "viewer/buffers/SceneLayers.h"

class COpenGLBaseView;

// The base view's off-screen layers as RenderScene draws into them.
class ViewLayers : public SceneLayers {
public:
    explicit ViewLayers(COpenGLBaseView& view) : m_view(view) {}

    void Bind(Layer layer) override;
    void BindDefault() override;
    void Prepare(Layer layer) override;
    GLuint Framebuffer(Layer layer) const override;
    int Width() const override;
    int Height() const override;

private:
    COpenGLBaseView& m_view;
};
