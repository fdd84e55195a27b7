#include "hostfw/ctrlpoint/TXYDA_Nt.h"

#include <cmath>

#include "hostfw/ctrlpoint/DmsAngles.h"
#include "platform/Numbers.h"

TXYDA_Nt::TXYDA_Nt(int distanceDecimals, int secondDecimals)
    : m_distanceDecimals(distanceDecimals), m_secondDecimals(secondDecimals)
{
}

double TXYDA_Nt::RndDst(double distance) const
{
    return tessara::RoundDecimal(distance, m_distanceDecimals);
}

double TXYDA_Nt::RndAz(double dms) const
{
    return SecToDms(tessara::RoundDecimal(DMS_ToSec(dms), m_secondDecimals));
}

double TXYDA_Nt::RndDms(double dms) const
{
    return RndAz(dms);
}

bool TXYDA_Nt::IsZeroDst(double distance)
{
    return std::fabs(distance) < 1e-9;
}
