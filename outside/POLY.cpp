#include "outside/POLY.h"

#include <algorithm>

POLY::POLY(std::uint16_t capacity) : m_capacity(capacity) {}

int POLY::Add(const PT& pt)
{
    if (m_pts.size() >= m_capacity)
        return 0;
    m_pts.push_back(pt);
    return 1;
}

RECTX POLY::GetRectPlygn() const
{
    if (m_pts.empty())
        return RECTX();
    RECTX r(m_pts[0].x(), m_pts[0].y(), m_pts[0].x(), m_pts[0].y());
    for (const PT& p : m_pts) {
        r.m_minX = std::min(r.m_minX, p.x());
        r.m_minY = std::min(r.m_minY, p.y());
        r.m_maxX = std::max(r.m_maxX, p.x());
        r.m_maxY = std::max(r.m_maxY, p.y());
    }
    return r;
}

bool POLY::IsClosed() const
{
    return m_pts.size() >= 2 && m_pts.front().x() == m_pts.back().x() && m_pts.front().y() == m_pts.back().y();
}
