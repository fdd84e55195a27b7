#pragma once

#include "viewer/render/GlFunctions.h"

// The off-screen layers RenderScene draws into, as the base view keeps them.
class SceneLayers {
public:
    enum Layer { kGrid, kOverlay, kTin, kFigure, kPart, kCloud, kHostPolygon, kPointPick, kLayerCount };

    virtual ~SceneLayers() = default;
    virtual void Bind(Layer layer) = 0;
    //! Back to the window's own framebuffer (not always name 0 under Qt).
    virtual void BindDefault() = 0;
    //! (Re)creates a layer at the client size and clears it.
    virtual void Prepare(Layer layer) = 0;
    virtual GLuint Framebuffer(Layer layer) const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
};
