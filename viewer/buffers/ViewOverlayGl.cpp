#include "viewer/buffers/ViewOverlayGl.h"

#include "viewer/buffers/GlBufferOps.h"

#include "outside/COGLJText.h"

ViewOverlayGl::ViewOverlayGl() = default;
ViewOverlayGl::~ViewOverlayGl() = default;

void ViewOverlayGl::Release(GlFunctions& gl)
{
    for (GLuint& t : textures)
        if (t != 0) {
            gl.glDeleteTextures(1, &t);
            t = 0;
        }
    texturesUploaded = false;
    labels.reset();
    GlBufferOps::Delete(gl, currentOutline);
    GlBufferOps::Delete(gl, previousOutline);
    previousCount = 0;
    drawPrevious = false;
}
