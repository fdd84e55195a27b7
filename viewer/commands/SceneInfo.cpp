#include "viewer/commands/SceneInfo.h"

#include "outside/CModelDataMng.h"
#include "platform/Numbers.h"
#include "viewer/commands/SceneCounters.h"

#include <cmath>

namespace {

// Unset heights and coordinates are kept as 1e-16 (single precision: 1e-7).
double Shown(double value)
{
    return (!std::isfinite(value) || std::fabs(value) < 1e-7) ? 0.0 : value;
}

// "%8.4f": four decimals, right-aligned in eight places.
std::string Fixed8(double value)
{
    std::string text = tessara::FormatFixed(Shown(value), 4);
    if (text.size() < 8)
        text.insert(0, 8 - text.size(), ' ');
    return text;
}

} // namespace

SceneInfoCounts CountSceneInfo(const CModelDataMng& store)
{
    SceneInfoCounts counts;
    for (const auto& group : store.m_groups) {
        if (!group)
            continue;
        const std::int64_t points = group->GetCloudPointSize();
        const std::int64_t triangles = group->GetTriangleCount();
        if (points > 0 || triangles > 0)
            ++counts.groups;
        counts.points += points;
        counts.triangles += triangles;
    }
    counts.triangles += store.m_cadTin.GetTriangleCount();
    counts.triangles += store.m_viewCloud.GetTriangleCount();
    counts.figures = static_cast<std::int64_t>(store.m_elmList.size());
    return counts;
}

std::string FormatSceneInfo(const SceneInfoText& info)
{
    std::string text = "Vendor\t : " + info.vendor + "\nGPU\t : " + info.renderer + "\nOpenGL\t : ver. " +
                       info.version + "\n\n";
    text += "点群ブロック数\t：" + FormatThousands(info.counts.groups) + "個\n";
    text += "点群総数\t：" + FormatThousands(info.counts.points) + "個\n";
    text += "TIN\t：三角数（" + FormatThousands(info.counts.triangles) + "個）\n";
    text += "CAD\t：図形数（" + FormatThousands(info.counts.figures) + "個）\n\n";
    text += "最小Z\t：" + Fixed8(info.minZ) + "\n最大Z\t：" + Fixed8(info.maxZ) + "\n左下座標\t：X=" +
            Fixed8(info.lowerLeftX) + "  Y=" + Fixed8(info.lowerLeftY);
    return text;
}
