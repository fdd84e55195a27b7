#pragma once

#include "hostfw/HostTypes.h"

// Field-book rounding of the host's survey library: distances to the distance
// decimals, angles (d.mmss) to the second decimals of the calculation conditions.
class HOSTFW_API TXYDA_Nt {
public:
    TXYDA_Nt(int distanceDecimals, int secondDecimals);

    double RndDst(double distance) const;
    // A direction or vertical angle.
    double RndAz(double dms) const;
    // A signed angle difference.
    double RndDms(double dms) const;
    static bool IsZeroDst(double distance);

private:
    int m_distanceDecimals;
    int m_secondDecimals;
};
