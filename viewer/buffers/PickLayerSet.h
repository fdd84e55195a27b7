#pragma once

#include "viewer/buffers/SceneLayers.h"

#include <array>
#include <cstdint>
#include <memory>

class COpenGLBaseView;
class QOpenGLFramebufferObject;

// The layers a pick re-render draws into: framebuffers of their own at the
// client size (colour RGBA8, depth), so a pick never touches the layers the
// picture is composited from, nor the window. Made and released with the
// context current; the view's buffers state owns it.
class PickLayerSet : public SceneLayers {
public:
    explicit PickLayerSet(COpenGLBaseView& view);
    ~PickLayerSet() override;

    void Bind(Layer layer) override;
    void BindDefault() override;
    void Prepare(Layer layer) override;
    GLuint Framebuffer(Layer layer) const override;
    int Width() const override;
    int Height() const override;

    //! One pixel of a layer (x right, y up): its depth and colour bytes R, G, B;
    //! false when the layer was never drawn or the pixel lies outside it.
    bool ReadPixel(Layer layer, int x, int y, float& depth, std::array<std::uint8_t, 3>& rgb);
    //! Deletes the framebuffers (context current).
    void Release();

private:
    COpenGLBaseView& m_view;
    std::array<std::unique_ptr<QOpenGLFramebufferObject>, kLayerCount> m_layers;
};
