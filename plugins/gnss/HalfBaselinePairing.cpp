#include "plugins/gnss/HalfBaselinePairing.h"

#include "hostfw/gnss/GnssRounding.h"

#include <algorithm>

namespace mod04827 {

void HalfBaselinePairing::AddFirst(const HalfBaseline& baseline)
{
    m_unused[{baseline.from, baseline.to}].push_back(m_entries.size());
    m_entries.push_back(Entry{baseline, {}, false, false});
}

void HalfBaselinePairing::AddSecond(const HalfBaseline& baseline)
{
    const auto same = m_unused.find({baseline.from, baseline.to});
    const auto reverse = m_unused.find({baseline.to, baseline.from});
    const bool hasSame = same != m_unused.end() && !same->second.empty();
    const bool hasReverse = reverse != m_unused.end() && !reverse->second.empty();
    if (!hasSame && !hasReverse) return;
    bool reversed = false;
    if (hasSame && hasReverse)
        reversed = reverse->second.front() < same->second.front();
    else
        reversed = hasReverse;
    std::vector<std::size_t>& queue = reversed ? reverse->second : same->second;
    const std::size_t index = queue.front();
    queue.erase(queue.begin());
    Entry& entry = m_entries[index];
    entry.used = true;
    entry.reversed = reversed;
    entry.second = baseline;
}

std::vector<HalfDifference> HalfBaselinePairing::Differences() const
{
    std::vector<HalfDifference> out;
    out.reserve(m_entries.size());
    for (const Entry& e : m_entries) {
        HalfDifference d;
        d.valid = true;
        d.used = e.used;
        if (e.used) {
            const double sign = e.reversed ? -1.0 : 1.0;
            double diff[3];
            for (int i = 0; i < 3; ++i) diff[i] = sign * e.first.vector[i] - e.second.vector[i];
            CmpHeigo(e.first.position, diff, d.dN, d.dE, d.dU);
        }
        out.push_back(d);
    }
    return out;
}

}  // namespace mod04827
