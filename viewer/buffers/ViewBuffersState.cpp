#include "viewer/buffers/ViewBuffersState.h"

#include "viewer/buffers/FigureBuffers.h"
#include "viewer/buffers/PickLayerSet.h"
#include "viewer/buffers/ViewOverlayGl.h"
#include "viewer/buffers/ViewPickState.h"
#include "viewer/render/skGLTexture.h"

ViewBuffersState::ViewBuffersState()
    : figures(std::make_unique<FigureBuffers>()), pick(std::make_unique<ViewPickState>()),
      overlayGl(std::make_unique<ViewOverlayGl>())
{
}
ViewBuffersState::~ViewBuffersState() = default;
