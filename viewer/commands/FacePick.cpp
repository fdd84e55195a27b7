#include "viewer/commands/FacePick.h"

#include "outside/CModelDataMng.h"

namespace {

// Depth of the triangle's plane under (x, y) when the point lies inside it (edges
// included); nothing otherwise or for a triangle seen edge-on.
std::optional<double> DepthInside(const ScreenProjector::Window (&c)[3], double x, double y)
{
    const double d = (c[1].y - c[2].y) * (c[0].x - c[2].x) + (c[2].x - c[1].x) * (c[0].y - c[2].y);
    if (d == 0.0)
        return std::nullopt;
    const double a = ((c[1].y - c[2].y) * (x - c[2].x) + (c[2].x - c[1].x) * (y - c[2].y)) / d;
    const double b = ((c[2].y - c[0].y) * (x - c[2].x) + (c[0].x - c[2].x) * (y - c[2].y)) / d;
    const double g = 1.0 - a - b;
    if (a < 0.0 || b < 0.0 || g < 0.0)
        return std::nullopt;
    return a * c[0].depth + b * c[1].depth + g * c[2].depth;
}

void Search(const CVertexMng& tin, std::uint8_t kind, std::int64_t group, const ScreenProjector& projector, double x,
            double y, std::optional<FaceHit>& best)
{
    const auto n = static_cast<std::uint32_t>(tin.m_vertices.size());
    for (std::size_t t = 0; t < tin.m_triangles.size(); ++t) {
        const CIndexedTriangle& tri = tin.m_triangles[t];
        ScreenProjector::Window c[3];
        bool projected = true;
        for (int k = 0; k < 3 && projected; ++k) {
            if (tri[k] >= n) {
                projected = false;
                break;
            }
            const auto& v = tin.m_vertices[tri[k]];
            projected = projector.ProjectUser(v.x, v.y, v.z, c[k]);
        }
        if (!projected)
            continue;
        const auto depth = DepthInside(c, x, y);
        if (depth && *depth >= 0.0 && *depth <= 1.0 && (!best || *depth < best->depth))
            best = FaceHit{kind, group, static_cast<std::int64_t>(t), *depth};
    }
}

} // namespace

std::optional<FaceHit> FrontFaceAt(const CModelDataMng& store, const ScreenProjector& projector, double x, double y)
{
    std::optional<FaceHit> best;
    if (store.IsShowRootGroup() == 0)
        return best;
    for (int i = 0; i < store.GetGroupCount(); ++i) {
        const CPCloudMng* g = store.GetGroup(i);
        if (g != nullptr && g->IsShowGroup() != 0 && g->IsShowTin() != 0)
            Search(*g, 4, i, projector, x, y, best);
    }
    const CPCloudMng& cloud = store.m_viewCloud;
    if (cloud.IsShowGroup() != 0 && cloud.IsShowTin() != 0)
        Search(cloud, 5, -1, projector, x, y, best);
    if (store.IsShowCADGroup() != 0 && store.IsShowCADTin() != 0)
        Search(store.m_cadTin, 7, -1, projector, x, y, best);
    return best;
}
