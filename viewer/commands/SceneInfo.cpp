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
    // One label a line, its colon at the tab stop after the widest label's: the box
    // sets a tab stop every eight half-width places or so, the widest label
    // ("点群ブロック数", fourteen places) passes the first one and every other label
    // stays short of it.
    const auto line = [](const char* label, const std::string& value) {
        std::size_t places = 0;
        for (const char* c = label; *c != '\0'; ++c) {
            const auto byte = static_cast<unsigned char>(*c);
            if (byte < 0x80)
                places += 1;
            else if ((byte & 0xC0) != 0x80)
                places += 2;  // the lead byte of a full-width character
        }
        return std::string(label) + (places > 8 ? "\t" : "\t\t") + "：" + value + "\n";
    };
    std::string text = line("Vendor", info.vendor) + line("GPU", info.renderer) +
                       line("OpenGL", "ver. " + info.version) + "\n";
    text += line("点群ブロック数", FormatThousands(info.counts.groups) + "個");
    text += line("点群総数", FormatThousands(info.counts.points) + "個");
    text += line("TIN", "三角数（" + FormatThousands(info.counts.triangles) + "個）");
    text += line("CAD", "図形数（" + FormatThousands(info.counts.figures) + "個）") + "\n";
    text += line("最小Z", Fixed8(info.minZ)) + line("最大Z", Fixed8(info.maxZ));
    text += line("左下座標", "X=" + Fixed8(info.lowerLeftX) + "  Y=" + Fixed8(info.lowerLeftY));
    text.pop_back();  // no line break after the last line
    return text;
}
