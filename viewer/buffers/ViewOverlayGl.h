#pragma once

#include "viewer/render/GlFunctions.h"

#include <array>
#include <memory>

class COGLJText;

// GL objects of the overlays and the tool feedback, owned by the view and
// deleted with its context current.
struct ViewOverlayGl {
    ViewOverlayGl();
    ~ViewOverlayGl();
    //! Deletes every object; the context must be current.
    void Release(GlFunctions& gl);

    //! The face-label atlas and the base plate from above and from below,
    //! uploaded once.
    std::array<GLuint, 3> textures{};
    bool texturesUploaded = false;
    //! The axis labels' font, loaded once.
    std::unique_ptr<COGLJText> labels;

    //! Tool feedback: the outline on screen, the one drawn before it, and the
    //! hovered vertex.
    GLuint currentOutline = 0;
    GLuint previousOutline = 0;
    int previousCount = 0;
    bool drawPrevious = false;
};
