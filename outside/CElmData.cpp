#include "outside/CElmData.h"

#include "outside/StoreMarkers.h"

#include <cmath>

namespace {

bool HasElevation(double z)
{
    return !std::isnan(z) && !IsUnsetValue(z);
}

} // namespace

std::size_t CElmData::GetPointCount() const
{
    std::size_t n = 0;
    for (const auto& list : m_ptLists)
        n += list.size();
    return n;
}

bool CElmData::IsValid() const
{
    for (const auto& list : m_ptLists)
        for (const PT& p : list)
            if (!std::isfinite(p.x()) || !std::isfinite(p.y()))
                return false;
    return true;
}

void CElmData::RebuildSegments()
{
    m_seg3D.clear();
    m_seg2D.clear();
    for (auto& list : m_ptLists)
        for (PT& p : list)
            if (std::isnan(p.z()))
                p.Z() = kUnsetDouble;
    if (m_ptLists.empty())
        return;

    const std::vector<PT>& first = m_ptLists[0];
    if (first.size() == 1) {
        (HasElevation(first[0].z()) ? m_seg3D : m_seg2D).push_back(SegmentList{Segment{0, 0, 0}});
    }
    for (std::size_t s = 0; s + 1 < first.size(); ++s) {
        const bool is3D = HasElevation(first[s].z()) && HasElevation(first[s + 1].z());
        const auto i = static_cast<std::int32_t>(s);
        (is3D ? m_seg3D : m_seg2D).push_back(SegmentList{Segment{i, i, i + 1}});
    }
    // Further lists (the second list of a kind-5 figure): their segments join the
    // second entry of the list they belong to. A list with fewer than two entries
    // gets a new entry instead, so no segment is lost.
    for (std::size_t l = 1; l < m_ptLists.size(); ++l) {
        const std::vector<PT>& list = m_ptLists[l];
        for (std::size_t s = 0; s + 1 < list.size(); ++s) {
            const bool is3D = HasElevation(list[s].z()) && HasElevation(list[s + 1].z());
            std::vector<SegmentList>& target = is3D ? m_seg3D : m_seg2D;
            while (target.size() < 2)
                target.emplace_back();
            const auto i = static_cast<std::int32_t>(s);
            target[1].push_back(Segment{i, i, i + 1});
        }
    }
}

void CElmData::ForEachSegmentEnds(const std::function<void(const PT&, const PT&)>& fn) const
{
    for (const auto* lists : {&m_seg3D, &m_seg2D})
        for (const SegmentList& pairs : *lists)
            for (const Segment& seg : pairs)
                for (const std::vector<PT>& pts : m_ptLists) {
                    if (seg.i1 < 0 || seg.i2 < 0 || static_cast<std::size_t>(seg.i1) >= pts.size() ||
                        static_cast<std::size_t>(seg.i2) >= pts.size())
                        continue;
                    fn(pts[static_cast<std::size_t>(seg.i1)], pts[static_cast<std::size_t>(seg.i2)]);
                }
}
