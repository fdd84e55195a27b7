#include "outside/PT.h"

#include <cmath>

double PT::Length2D(const PT& o) const
{
    return std::hypot(o.m_x - m_x, o.m_y - m_y);
}

bool PT::IsFinite() const
{
    return std::isfinite(m_x) && std::isfinite(m_y) && std::isfinite(m_z);
}
