#include "viewer/render/OverlayGeometry.h"

#include <cmath>
#include <numbers>

std::optional<OverlayGeometry::Ring> OverlayGeometry::CylinderRing(const QVector3D& p, const QVector3D& q, float r)
{
    const QVector3D d = p - q;
    const float g = d.x(), h = d.y(), l = d.z();
    if (!std::isfinite(g) || !std::isfinite(h) || !std::isfinite(l) || !std::isfinite(r)) return std::nullopt;
    if (g == 0.0f && h == 0.0f && l == 0.0f) return std::nullopt;
    // A direction across the axis.
    QVector3D across;
    if (g == 0.0f) across = QVector3D(1, 0, 0);
    else if (h == 0.0f) across = QVector3D(0, 1, 0);
    else if (l == 0.0f) across = QVector3D(0, 0, 1);
    else across = QVector3D(l, l, -(g + h)).normalized();
    const QVector3D side = QVector3D::crossProduct(d, across);
    if (side.lengthSquared() == 0.0f) return std::nullopt;
    const QVector3D u = side.normalized();
    Ring ring;
    for (int i = 0; i < kRingSteps; ++i) {
        const double theta = static_cast<double>(i) / kRingSteps * 2.0 * std::numbers::pi;
        ring[static_cast<std::size_t>(i)] = r * (u * static_cast<float>(std::sin(theta)) + across * static_cast<float>(std::cos(theta)));
    }
    ring[kRingSteps] = ring[0];
    return ring;
}

std::optional<std::vector<QVector3D>> OverlayGeometry::Place(const ScreenProjector& camera, const ScreenProjector& eye,
                                                            const QVector3D& origin,
                                                            const std::vector<QVector3D>& relative, std::size_t checked,
                                                            double anchorX, double anchorY)
{
    ScreenProjector::Window o;
    if (!camera.ProjectModel(origin.x(), origin.y(), origin.z(), o)) return std::nullopt;
    std::vector<QVector3D> placed;
    placed.reserve(relative.size());
    for (std::size_t i = 0; i < relative.size(); ++i) {
        const QVector3D m = origin + relative[i];
        ScreenProjector::Window w;
        if (!camera.ProjectModel(m.x(), m.y(), m.z(), w)) return std::nullopt;
        const double depth = 0.5 + (w.depth - o.depth);
        if (i < checked && !(depth >= 0.0 && depth <= 1.0)) return std::nullopt;
        PT p;
        if (!eye.UnprojectModel(anchorX + (w.x - o.x), anchorY + (w.y - o.y), depth, p)) return std::nullopt;
        placed.emplace_back(static_cast<float>(p.x()), static_cast<float>(p.y()), static_cast<float>(p.z()));
    }
    return placed;
}
