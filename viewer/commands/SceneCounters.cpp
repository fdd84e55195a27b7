#include "viewer/commands/SceneCounters.h"

#include "outside/CModelDataMng.h"

#include <algorithm>

std::string FormatThousands(std::int64_t value)
{
    // The magnitude in unsigned arithmetic, so the most negative value has one too.
    std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::string text;
    int digits = 0;
    do {
        if (digits > 0 && digits % 3 == 0)
            text.push_back(',');
        text.push_back(static_cast<char>('0' + magnitude % 10));
        magnitude /= 10;
        ++digits;
    } while (magnitude != 0);
    if (value < 0)
        text.push_back('-');
    std::reverse(text.begin(), text.end());
    return text;
}

std::int64_t CountShownTinTriangles(const CModelDataMng& store)
{
    if (store.IsShowRootGroup() == 0)
        return 0;
    std::int64_t total = 0;
    for (const auto& g : store.m_groups)
        if (g && g->IsShowGroup() != 0 && g->IsShowTin() != 0)
            total += g->GetTriangleCount();
    if (store.IsShowCADGroup() != 0 && store.IsShowCADTin() != 0)
        total += store.m_cadTin.GetTriangleCount();
    if (store.IsShow3DStructureGroup() != 0) {
        const auto slot = [&](int s) {
            return static_cast<std::int64_t>(store.m_structure[static_cast<std::size_t>(s)].GetTriangleCount()) +
                   store.m_structure[static_cast<std::size_t>(s + CModelDataMng::kStructureSlotCount)].GetTriangleCount();
        };
        if (store.IsShowBuildTin() != 0)
            for (int s = 0; s < 6; ++s)
                total += slot(s);
        const int shown[6] = {store.IsShowRoadBridgeTin(), store.IsShowLightingTin(), store.IsShowUtilityPoleTin(),
                              store.IsShowHighTowerTin(),  store.IsShowRailRoadTin(), store.IsShowChimneyTin()};
        for (int k = 0; k < 6; ++k)
            if (shown[k] != 0)
                total += slot(6 + k);
    }
    const CPCloudMng& cloud = store.m_viewCloud;
    if (cloud.IsShowGroup() != 0 && cloud.IsShowTin() != 0)
        total += cloud.GetTriangleCount();
    return total;
}

std::int64_t CountShownPoints(const CModelDataMng& store)
{
    if (store.IsShowRootGroup() == 0)
        return 0;
    std::int64_t total = 0;
    for (const auto& g : store.m_groups)
        if (g && g->IsShownForPoints())
            total += g->GetCloudPointSize();
    if (store.m_viewCloud.IsShownForPoints())
        total += store.m_viewCloud.GetCloudPointSize();
    return total;
}
