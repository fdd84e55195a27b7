#pragma once

#include <QMatrix4x4>

#include <array>

#include "outside/PT.h"

// Projects user (survey) points to window coordinates with one precomputed
// matrix: the store's centre, the model view, the projection and the viewport,
// as gluProject would with the same matrices. Window x right, y up, depth 0..1.
class ScreenProjector {
public:
    struct Window {
        double x = 0.0;
        double y = 0.0;
        double depth = 0.0;
    };

    ScreenProjector() = default;
    //! viewport: x, y, width, height; centre: subtracted from user points first.
    ScreenProjector(const QMatrix4x4& modelView, const QMatrix4x4& projection, const std::array<int, 4>& viewport,
                    const PT& centre = PT(0.0, 0.0, 0.0));

    //! False for a point on or behind the eye plane (clip w <= 0, which would
    //! land mirrored on the screen) or any non-finite result.
    bool ProjectUser(double x, double y, double z, Window& out) const
    {
        return ProjectModel(x - m_centre[0], y - m_centre[1], z - m_centre[2], out);
    }
    bool ProjectModel(double x, double y, double z, Window& out) const
    {
        const double* m = m_m.data();
        const double w = m[3] * x + m[7] * y + m[11] * z + m[15];
        if (!(w > 0.0)) return false;
        const double inv = 1.0 / w;
        const double nx = (m[0] * x + m[4] * y + m[8] * z + m[12]) * inv;
        const double ny = (m[1] * x + m[5] * y + m[9] * z + m[13]) * inv;
        const double nz = (m[2] * x + m[6] * y + m[10] * z + m[14]) * inv;
        out.x = m_vx + (nx + 1.0) * 0.5 * m_vw;
        out.y = m_vy + (ny + 1.0) * 0.5 * m_vh;
        out.depth = (nz + 1.0) * 0.5;
        // A NaN or infinite input fails the comparisons.
        return out.x - out.x == 0.0 && out.y - out.y == 0.0 && out.depth - out.depth == 0.0;
    }
    //! Window point back to a model point; false when the matrix cannot be inverted.
    bool UnprojectModel(double wx, double wy, double depth, PT& out) const;

    int ViewportHeight() const { return static_cast<int>(m_vh); }
    int ViewportWidth() const { return static_cast<int>(m_vw); }

private:
    std::array<double, 16> m_m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};  // column-major
    std::array<double, 3> m_centre{0.0, 0.0, 0.0};
    double m_vx = 0.0, m_vy = 0.0, m_vw = 1.0, m_vh = 1.0;
};
