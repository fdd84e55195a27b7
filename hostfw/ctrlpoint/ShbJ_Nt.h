#pragma once

#include "hostfw/HostTypes.h"

class KjnXyda_Nt;

// Calculation conditions of a check handbook: field-book decimals of distances and
// of angle seconds.
struct HOSTFW_API ShboCalVur {
    int distanceDecimals = 3;
    int secondDecimals = 0;
};

// The host's handbook condition service.
class HOSTFW_API ShbJ_Nt {
public:
    // The conditions of the current survey ("SHBCALVUR" condition, key 0, in the part
    // system: {"distanceDecimals": n, "secondDecimals": n}); the defaults without one.
    static int GetCalVur(const KjnXyda_Nt& coordinates, ShboCalVur& out);
};
