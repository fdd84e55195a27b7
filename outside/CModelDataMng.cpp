#include "outside/CModelDataMng.h"

#include "outside/StoreMarkers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>

namespace {

// Whole metres, so that subtracting and adding back the centre is exact for the
// store's coordinates; unset or non-finite values count as 0.
double CentreValue(double v)
{
    if (!std::isfinite(v) || IsUnsetValue(v) || std::fabs(v) > 1e12)
        return 0.0;
    return std::round(v);
}

// Sixteen well-separated colours (COLORREF, red in the low byte); none is black.
constexpr COLORREF kGroupPalette[16] = {
    0x0000FF, 0x00A000, 0xFF0000, 0x00C0FF, 0xC000C0, 0xC0C000, 0x0060FF, 0x808000,
    0x8000FF, 0x00FF80, 0xFF8000, 0x4080C0, 0xFF0080, 0x40C080, 0x8080FF, 0x2060A0,
};

} // namespace

CModelDataMng::CModelDataMng() = default;
CModelDataMng::~CModelDataMng() = default;

void CModelDataMng::UserToModel(PT& pt) const
{
    pt.X() -= m_center.x();
    pt.Y() -= m_center.y();
    pt.Z() -= m_center.z();
}

void CModelDataMng::ModelToUser(PT& pt) const
{
    pt.X() += m_center.x();
    pt.Y() += m_center.y();
    pt.Z() += m_center.z();
}

void CModelDataMng::SetRenderingCenterPt(const PT& pt)
{
    m_center = PT(CentreValue(pt.x()), CentreValue(pt.y()), CentreValue(pt.z()));
}

int CModelDataMng::IsExistToShowPCloud() const
{
    if (m_nShowRoot == 0)
        return 0;
    for (const auto& g : m_groups)
        if (g && g->IsShownForPoints() && g->GetCloudPointSize() > 0)
            return 1;
    return 0;
}

CPCloudMng* CModelDataMng::GetGroup(std::int64_t i) const
{
    if (i < 0 || static_cast<std::uint64_t>(i) >= m_groups.size())
        return nullptr;
    return m_groups[static_cast<std::size_t>(i)].get();
}

int CModelDataMng::AddGroup(std::unique_ptr<CPCloudMng> group)
{
    m_groups.push_back(std::move(group));
    return static_cast<int>(m_groups.size() - 1);
}

int CModelDataMng::InsertGroup(std::int64_t i, std::unique_ptr<CPCloudMng> group)
{
    const auto at = static_cast<std::size_t>(std::clamp<std::int64_t>(i, 0, static_cast<std::int64_t>(m_groups.size())));
    m_groups.insert(m_groups.begin() + static_cast<std::ptrdiff_t>(at), std::move(group));
    return static_cast<int>(at);
}

COLORREF CModelDataMng::GetDefPointCloudGroupCol(std::uint16_t n)
{
    const COLORREF base = kGroupPalette[n % 16];
    // Later rounds are darker versions of the palette, so neighbours stay apart.
    const unsigned round = (n / 16u) % 4u;
    if (round == 0)
        return base;
    COLORREF out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const unsigned c = (base >> shift) & 0xFFu;
        out |= static_cast<COLORREF>(c * (4u - round) / 4u) << shift;
    }
    return out != 0 ? out : 0x404040;
}

int CModelDataMng::AllPointMerge(int mode, std::vector<SelPCloud>& selection)
{
    std::vector<std::size_t> merged;
    for (std::size_t i = 0; i < m_groups.size(); ++i)
        if (m_groups[i] && m_groups[i]->IsShownForPoints())
            merged.push_back(i);
    if (merged.empty() || (merged.size() == 1 && mode != 1))
        return 0;

    // Everything that allocates happens first; the groups and the selection change
    // only afterwards, so running out of memory leaves both as they were.
    std::unique_ptr<CPCloudMng> result;
    std::vector<std::int64_t> offset(m_groups.size(), -1); // old index -> first point in the merged group
    std::vector<std::int64_t> newIndex(m_groups.size(), -1);
    std::vector<std::unique_ptr<CPCloudMng>> kept;
    std::vector<SelPCloud> remapped;
    try {
        result = std::make_unique<CPCloudMng>();
        const CPCloudMng& first = *m_groups[merged.front()];
        result->m_name = first.m_name;
        result->m_nNameNumber = first.m_nNameNumber;
        result->m_memo = first.m_memo;
        result->m_nColor = first.m_nColor;
        std::size_t total = 0;
        for (std::size_t g : merged)
            total += m_groups[g]->m_points.size();
        result->ReserveCloudPoint(total);
        for (std::size_t g : merged) {
            offset[g] = static_cast<std::int64_t>(result->m_points.size());
            for (const CPCloudMng::CloudPoint& p : m_groups[g]->m_points)
                result->AddCloudPoint(p.x, p.y, p.z, p.colour, p.intensity);
        }
        result->m_nDataFlag = result->m_points.empty() ? 0 : 1;

        std::int64_t next = 0;
        for (std::size_t i = 0; i < m_groups.size(); ++i)
            if (offset[i] < 0)
                newIndex[i] = next++;
        const std::int64_t mergedIndex = next;
        kept.reserve(m_groups.size() - merged.size() + 1);

        remapped.reserve(selection.size() + 1);
        std::size_t mergedEntry = SIZE_MAX;
        for (const SelPCloud& s : selection) {
            if (s.group < 0 || static_cast<std::uint64_t>(s.group) >= offset.size())
                continue;
            const auto g = static_cast<std::size_t>(s.group);
            if (offset[g] < 0) {
                remapped.push_back(SelPCloud{newIndex[g], s.points});
                continue;
            }
            if (mergedEntry == SIZE_MAX) {
                mergedEntry = remapped.size();
                remapped.push_back(SelPCloud{mergedIndex, {}});
            }
            for (std::uint64_t ref : s.points)
                remapped[mergedEntry].points.push_back(static_cast<std::uint64_t>(SelPCloud::PointIndex(ref)) +
                                                       static_cast<std::uint64_t>(offset[g]));
        }
    } catch (const std::bad_alloc&) {
        return 0;
    }

    for (std::size_t i = 0; i < m_groups.size(); ++i)
        if (offset[i] < 0)
            kept.push_back(std::move(m_groups[i]));
    kept.push_back(std::move(result));
    m_groups = std::move(kept);
    selection = std::move(remapped);
    return static_cast<int>(merged.size());
}

int CModelDataMng::ReMapTinData()
{
    int dropped = 0;
    // A store that cannot be compacted (out of memory) stays as it was.
    const auto compact = [&dropped](CVertexMng& tin) {
        try {
            dropped += tin.CompactTin();
        } catch (const std::bad_alloc&) {
        }
    };
    for (auto& g : m_groups)
        if (g)
            compact(*g);
    compact(m_viewCloud);
    compact(m_cadTin);
    for (CVertexMng& s : m_structure)
        compact(s);
    return dropped;
}

void CModelDataMng::RebuildCadLayers()
{
    for (const CElmData& e : m_elmList) {
        if (m_cadLayerIndex.count(e.m_nKind) != 0)
            continue;
        const auto slot = std::find_if(m_cadLayers.begin(), m_cadLayers.end(), [](const CadLayer& l) { return !l.present; });
        if (slot == m_cadLayers.end())
            break;
        slot->present = true;
        slot->id = e.m_nKind;
        if (slot->show != 0 && slot->show != 1)
            slot->show = 1;
        m_cadLayerIndex[e.m_nKind] = static_cast<int>(slot - m_cadLayers.begin());
    }
}

int CModelDataMng::FindCadLayer(std::uint8_t id) const
{
    const auto it = m_cadLayerIndex.find(id);
    return it == m_cadLayerIndex.end() ? -1 : it->second;
}

bool CModelDataMng::IsOnShownCadLayer(const CElmData& elm) const
{
    const int i = FindCadLayer(elm.m_nKind);
    if (i < 0 || i >= kCadLayerCount)
        return false;
    const CadLayer& l = m_cadLayers[static_cast<std::size_t>(i)];
    return l.present && l.show == 1;
}

void CModelDataMng::ClearGroups()
{
    m_groups.clear();
}

void CModelDataMng::ClearCadFigures()
{
    m_elmList.clear();
}

void CModelDataMng::ClearPartDrawing()
{
    m_partPoint3D.ClearCloudPoint();
    m_partPoint2D.ClearCloudPoint();
    m_partVertex.ClearVertex();
    m_partLineVertex3D.ClearVertex();
    m_partLineVertex2D.ClearVertex();
    m_partLine3D.clear();
    m_partLine2D.clear();
}

void CModelDataMng::ClearStructures()
{
    for (CVertexMng& s : m_structure)
        s.ClearVertex();
}
