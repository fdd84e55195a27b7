#pragma once

#include "outside/OutsideTypes.h"

#include <cstdint>
#include <vector>

struct ColorConf;

// The view settings the render passes read, copied from the view's settings
// record before a frame. The passes write back only pointSizeIndex (an index
// above 4 is folded into 0..4).
struct RenderSettings {
    //! 0 off, 1 height, 2 RGB, 3 mono, 4 intensity, 5 group colour.
    int colourMode = 1;
    COLORREF pointColour = 0xFFFFFF;
    int brightPercent = 0;
    std::int16_t pointSizeIndex = 0;
    //! 0: no smoothing, with shade correction; else the blend code of smoothed points.
    std::uint16_t correctionHint = 0;
    //! 0 off, 1 colour, 2 incline, 3 texture, 4 height gradation.
    int tinPictureMode = 1;
    int tinEdgeSwitch = 0;
    int tinVertexSwitch = 0;
    int viewDepthAlways = 1;
    std::uint16_t faceMaterialIndex = 0;
    int paleSlopeColours = 0;
    int cadSwitch = 1;
    int partSwitch = 1;
    //! Line width settings of the CAD figures and the part drawing ("ViewLnWidthCad",
    //! "ViewLnWidthPart"), and "ViewUnsetExclusion" (hides the second sets).
    int cadLineWidth = 0;
    int partLineWidth = 0;
    int unsetExclusion = 1;
    const std::vector<ColorConf>* gradation = nullptr;
};

// What the frame loop tells the point passes.
struct FrameState {
    int detailLevel = 0;       // 0 full detail .. 99 coarsest
    int pointsOnly = 0;        // 1 during refinement steps
    int refinementCounter = -1;
};
