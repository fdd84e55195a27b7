#include "viewer/render/SceneExtents.h"

#include "outside/CModelDataMng.h"
#include "outside/PT.h"
#include "outside/StoreMarkers.h"

#include <charconv>
#include <cmath>

// Merges boxes in visiting order; z values equal to the unset marker neither
// lower nor raise the range, and are replaced by the first real one.
class SceneExtents::Merger {
public:
    void Add(float minX, float minY, float minZ, float maxX, float maxY, float maxZ)
    {
        if (!m_any) {
            m_min.Set(minX, minY, minZ);
            m_max.Set(maxX, maxY, maxZ);
            m_minUnset = IsUnsetValue(minZ);
            m_maxUnset = IsUnsetValue(maxZ);
            m_any = true;
            return;
        }
        if (minX < m_min.x()) m_min.X(minX);
        if (minY < m_min.y()) m_min.Y(minY);
        if (maxX > m_max.x()) m_max.X(maxX);
        if (maxY > m_max.y()) m_max.Y(maxY);
        if (!IsUnsetValue(minZ) && (m_minUnset || minZ < m_min.z())) {
            m_min.Z(minZ);
            m_minUnset = false;
        }
        if (!IsUnsetValue(maxZ) && (m_maxUnset || maxZ > m_max.z())) {
            m_max.Z(maxZ);
            m_maxUnset = false;
        }
    }
    void AddPoints(const CPCloudMng& g)
    {
        Add(g.GetPCloudMinX(), g.GetPCloudMinY(), g.GetPCloudMinZ(), g.GetPCloudMaxX(), g.GetPCloudMaxY(),
            g.GetPCloudMaxZ());
    }
    void AddPoint(double x, double y, double z)
    {
        if (!std::isfinite(x) || !std::isfinite(y)) return;
        const float zf = static_cast<float>(z);
        const float unset = static_cast<float>(kUnsetDouble);
        const float zz = IsUnsetValue(z) || IsNoElevation(zf) || !std::isfinite(z) ? unset : zf;
        Add(static_cast<float>(x), static_cast<float>(y), zz, static_cast<float>(x), static_cast<float>(y), zz);
    }
    void AddVertices(const CVertexMng& v)
    {
        Add(v.GetVertexMinX(), v.GetVertexMinY(), v.GetVertexMinZ(), v.GetVertexMaxX(), v.GetVertexMaxY(),
            v.GetVertexMaxZ());
    }
    int Result(PT& min, PT& max) const
    {
        if (!m_any) return 0;
        // An unset z stays the marker itself, as a double.
        min = m_min;
        max = m_max;
        if (m_minUnset) min.Z(kUnsetDouble);
        if (m_maxUnset) max.Z(kUnsetDouble);
        return 1;
    }

private:
    PT m_min;
    PT m_max;
    bool m_minUnset = false;
    bool m_maxUnset = false;
    bool m_any = false;
};

int SceneExtents::GetVisibleExtent(const CModelDataMng& store, const Toggles& toggles, int kinds, int allFlag,
                                   PT& min, PT& max)
{
    if (store.IsShowRootGroup() == 0) return 0;
    const bool all = allFlag != 0;
    const bool pointsOn = all || toggles.pointColourMode != 0;
    const bool tinsOn = all || toggles.AnyTin();
    Merger merger;

    if ((kinds & kCloudGroups) != 0 && pointsOn) {
        for (const auto& g : store.m_groups)
            if (g && g->IsShowGroup() != 0 && g->IsShowPCloud() != 0 && g->GetCloudPointSize() > 0)
                merger.AddPoints(*g);
    }
    if ((kinds & kGroupTins) != 0 && tinsOn) {
        for (const auto& g : store.m_groups)
            if (g && g->IsShowGroup() != 0 && g->IsShowTin() != 0 && g->GetTriangleCount() > 0)
                merger.AddVertices(*g);
    }
    if ((kinds & kCadTin) != 0 && tinsOn && store.IsShowCADGroup() != 0 && store.IsShowCADTin() != 0 &&
        store.m_cadTin.GetTriangleCount() > 0)
        merger.AddVertices(store.m_cadTin);
    if ((kinds & kViewCloud) != 0) {
        const CPCloudMng& cloud = store.m_viewCloud;
        if (pointsOn && cloud.IsShowGroup() != 0 && cloud.IsShowPCloud() != 0 && cloud.GetCloudPointSize() > 0)
            merger.AddPoints(cloud);
        if (tinsOn && cloud.IsShowGroup() != 0 && cloud.IsShowTin() != 0 && cloud.GetTriangleCount() > 0)
            merger.AddVertices(cloud);
    }
    if ((kinds & kStructures) != 0 && tinsOn && store.IsShow3DStructureGroup() != 0) {
        const auto addSlot = [&](int slot) {
            for (int s : {slot, slot + CModelDataMng::kStructureSlotCount}) {
                const CVertexMng& v = store.m_structure[static_cast<std::size_t>(s)];
                if (v.GetTriangleCount() > 0) merger.AddVertices(v);
            }
        };
        // Buildings belong to the CAD drawing and count only while it is shown.
        if (store.IsShowCADGroup() != 0 && store.IsShowBuildTin() != 0)
            for (int slot = 0; slot < 6; ++slot) addSlot(slot);
        const int shown[6] = {store.IsShowRoadBridgeTin(), store.IsShowLightingTin(), store.IsShowUtilityPoleTin(),
                              store.IsShowHighTowerTin(),  store.IsShowRailRoadTin(), store.IsShowChimneyTin()};
        for (int k = 0; k < 6; ++k)
            if (shown[k] != 0) addSlot(6 + k);
    }
    return merger.Result(min, max);
}

int SceneExtents::GetModelExtent(const CModelDataMng& store, PT& min, PT& max)
{
    Merger merger;
    for (const auto& g : store.m_groups)
        if (g && g->GetCloudPointSize() > 0) merger.AddPoints(*g);
    for (const CElmData& elm : store.m_elmList)
        for (const auto& list : elm.m_ptLists)
            for (const PT& p : list) merger.AddPoint(p.x(), p.y(), p.z());
    const auto addLines = [&](const std::vector<CModelDataMng::PartLine>& lines, const CVertexMng& vertices) {
        for (const auto& line : lines) {
            for (std::int32_t i : {line.v1, line.v2}) {
                float x = 0.0f, y = 0.0f, z = 0.0f;
                if (vertices.GetVertexVal(i, x, y, z) != 0) merger.AddPoint(x, y, z);
            }
        }
    };
    addLines(store.m_partLine3D, store.m_partLineVertex3D);
    addLines(store.m_partLine2D, store.m_partLineVertex2D);
    for (const auto& g : store.m_groups)
        if (g && g->GetVertexSize() > 0) merger.AddVertices(*g);
    if (store.m_viewCloud.GetVertexSize() > 0) merger.AddVertices(store.m_viewCloud);
    return merger.Result(min, max);
}

int SceneExtents::GetVisibleIntensityRange(const CModelDataMng& store, double& min, double& max)
{
    bool any = false;
    for (const auto& g : store.m_groups) {
        if (!g || g->IsShowGroup() == 0 || g->IsShowPCloud() == 0 || g->GetCloudPointSize() <= 0) continue;
        if (!any || g->GetPCloudMinIntensity() < min) min = g->GetPCloudMinIntensity();
        if (!any || g->GetPCloudMaxIntensity() > max) max = g->GetPCloudMaxIntensity();
        any = true;
    }
    return any ? 1 : 0;
}

std::string SceneExtents::CaptionText(double metres)
{
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof(buffer) - 1, metres, std::chars_format::fixed, 2);
    if (error != std::errc()) return "m";
    return std::string(buffer, end) + "m";
}
