#include "viewer/files/HostOverlayStore.h"

#include "outside/StoreMarkers.h"
#include "viewer/files/SceneFrame.h"

namespace {

void Lower(double& lowest, double z)
{
    if (IsUnsetValue(z)) return;
    if (IsUnsetValue(lowest) || z < lowest) lowest = z;
}

}  // namespace

HostOverlayStore::Installed HostOverlayStore::Install(const HostPolygonContent& c, SceneFrame& frame)
{
    if (!frame.transformSet) {
        MTRX m;
        m.Axis();
        m.m[2] -= c.originB;
        m.m[5] -= c.originA;
        frame.surveyTransform = m;
        frame.transformSet = 1;
    }
    const MTRX& t = frame.surveyTransform;
    const auto map = [&t](PT p) {
        t.XY(p);
        return p;
    };
    for (std::size_t i = 0; i < frame.corners.size(); ++i) {
        PT corner = map(c.corners[i]);
        corner.Z(kUnsetDouble);
        frame.corners[i] = corner;
    }
    frame.cornersSet = 1;

    Installed out;
    points.reserve(points.size() + c.points.size());
    for (const auto& p : c.points) {
        points.push_back({map(p.pt), p.colour});
        Lower(out.lowest, p.pt.z());
    }
    segments.reserve(segments.size() + c.segments.size());
    for (const auto& s : c.segments) {
        segments.push_back({map(s.from), map(s.to), s.colour});
        Lower(out.lowest, s.from.z());
        Lower(out.lowest, s.to.z());
    }
    polygons.reserve(polygons.size() + c.polygons.size());
    for (const auto& poly : c.polygons) {
        HostPolygonContent::Polygon mapped{POLY(poly.poly.GetCapacity()), poly.colour};
        for (const PT& p : poly.poly.Points()) {
            mapped.poly.Add(map(p));
            Lower(out.lowest, p.z());
        }
        polygons.push_back(std::move(mapped));
    }
    PT origin(c.originA, c.originB, 0.0);
    t.XY(origin);
    out.renderCentre = PT(origin.x(), origin.y(), out.lowest);
    out.firstCorner = frame.corners[0];
    return out;
}
