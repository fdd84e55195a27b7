#pragma once

// The TIN triangle drawn in front under a window point, found on the CPU from the
// same matrices the frame was drawn with: only TINs the frame draws as faces take
// part (shown groups' TINs, the view cloud's and the CAD TIN, with a TIN picture
// on), and of the triangles covering the point the one nearest the eye wins. The
// caller holds the view lock.

#include "viewer/render/ScreenProjector.h"

#include <cstdint>
#include <optional>

class CModelDataMng;

struct FaceHit {
    std::uint8_t kind = 0;     // 4 group TIN, 5 view-cloud TIN, 7 CAD TIN
    std::int64_t group = -1;   // for kind 4
    std::int64_t triangle = 0;
    double depth = 0.0;
};

//! x right, y up, as the projector gives window points.
std::optional<FaceHit> FrontFaceAt(const CModelDataMng& store, const ScreenProjector& projector, double x, double y);
