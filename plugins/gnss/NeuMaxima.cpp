#include "plugins/gnss/NeuMaxima.h"

#include "hostfw/gnss/GnssRounding.h"

#include <algorithm>
#include <cmath>

namespace mod04827 {

void NeuMaxima::Add(double n, double e, double u)
{
    if (IsUnsetValue(n) || IsUnsetValue(e) || IsUnsetValue(u)) return;
    ++m_count;
    m_maxN = std::max(m_maxN, std::fabs(n));
    m_maxE = std::max(m_maxE, std::fabs(e));
    m_maxU = std::max(m_maxU, std::fabs(u));
}

}  // namespace mod04827
