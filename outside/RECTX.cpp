#include "outside/RECTX.h"

#include "outside/POLY.h"

bool RECTX::Contains(double x, double y) const
{
    return x >= m_minX && x <= m_maxX && y >= m_minY && y <= m_maxY;
}

bool RECTX::Overlaps(const RECTX& o) const
{
    return !(o.m_minX > m_maxX || o.m_maxX < m_minX || o.m_minY > m_maxY || o.m_maxY < m_minY);
}

int RECTX::GetPlygn(POLY* poly) const
{
    if (poly == nullptr)
        return 0;
    poly->Clear();
    poly->Add(PT(m_minX, m_minY, 0.0));
    poly->Add(PT(m_maxX, m_minY, 0.0));
    poly->Add(PT(m_maxX, m_maxY, 0.0));
    poly->Add(PT(m_minX, m_maxY, 0.0));
    poly->Add(PT(m_minX, m_minY, 0.0));
    return 1;
}
