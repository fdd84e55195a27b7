#include "hostfw/gnss/GpsWorkSelection.h"

bool GpsWorkSelection::SetWorkNo(long workNo)
{
    WorkTbl entry;
    if (!FindWork(m_handle, workNo, entry)) return false;
    m_workNo = workNo;
    return true;
}

int GpsWorkSelection::GetWorkTbl(WorkTbl& out) const
{
    const long workNo = m_workNo != 0 ? m_workNo : GetCurrentWorkNo(m_handle);
    return FindWork(m_handle, workNo, out) ? 1 : 0;
}
