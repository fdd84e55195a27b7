#pragma once

#include <QVector3D>

#include <array>
#include <optional>
#include <vector>

#include "viewer/render/ScreenProjector.h"

// Geometry of the orientation aids: where they sit on the window and the rings
// of the triad's cylinders. No GL here.
class OverlayGeometry {
public:
    static constexpr int kRingSteps = 32;
    using Ring = std::array<QVector3D, kRingSteps + 1>;

    //! The ring offsets of a closed cylinder from p to q of radius r (the last
    //! repeats the first). None for p = q or a non-finite input: nothing to draw.
    static std::optional<Ring> CylinderRing(const QVector3D& p, const QVector3D& q, float r);

    //! Places points given relative to the origin at a fixed window anchor with
    //! the orientation of `camera`: each becomes the eye-space point (identity
    //! model view under the same projection) of the anchor plus its window offset
    //! from the projected origin. None when the origin or a point does not
    //! project, or one of the first `checked` points' depth offsets plus 0.5
    //! leaves 0..1: the aid is left out for that frame.
    static std::optional<std::vector<QVector3D>> Place(const ScreenProjector& camera, const ScreenProjector& eye,
                                                       const QVector3D& origin,
                                                       const std::vector<QVector3D>& relative, std::size_t checked,
                                                       double anchorX, double anchorY);
};
