#include "viewer/render/ScreenProjector.h"

#include <cmath>

ScreenProjector::ScreenProjector(const QMatrix4x4& modelView, const QMatrix4x4& projection,
                                 const std::array<int, 4>& viewport, const PT& centre)
    : m_centre{centre.x(), centre.y(), centre.z()},
      m_vx(viewport[0]), m_vy(viewport[1]), m_vw(viewport[2]), m_vh(viewport[3])
{
    // The product in double: a float matrix product loses the last bits that
    // decide whether a point on a polygon edge is in or out.
    const float* p = projection.constData();
    const float* v = modelView.constData();
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) sum += static_cast<double>(p[k * 4 + r]) * static_cast<double>(v[c * 4 + k]);
            m_m[c * 4 + r] = sum;
        }
}

bool ScreenProjector::UnprojectModel(double wx, double wy, double depth, PT& out) const
{
    if (m_vw <= 0.0 || m_vh <= 0.0) return false;
    QMatrix4x4 m;
    for (int i = 0; i < 16; ++i) m.data()[i] = static_cast<float>(m_m[i]);
    bool invertible = false;
    const QMatrix4x4 inv = m.inverted(&invertible);
    if (!invertible) return false;
    const QVector4D ndc(static_cast<float>((wx - m_vx) / m_vw * 2.0 - 1.0),
                        static_cast<float>((wy - m_vy) / m_vh * 2.0 - 1.0), static_cast<float>(depth * 2.0 - 1.0),
                        1.0f);
    const QVector4D r = inv * ndc;
    if (r.w() == 0.0f) return false;
    out = PT(r.x() / r.w(), r.y() / r.w(), r.z() / r.w());
    return out.IsFinite();
}
