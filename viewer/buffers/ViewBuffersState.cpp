#include "viewer/buffers/ViewBuffersState.h"

#include "viewer/render/skGLTexture.h"

ViewBuffersState::ViewBuffersState() = default;
ViewBuffersState::~ViewBuffersState() = default;
