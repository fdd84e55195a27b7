#pragma once

#include "hostfw/HostTypes.h"

// The header records of the sibling levelling calculations as the host hands them out.

// Network adjustment (938): the grade word. Readers preset the two shorts to 1.
struct HOSTFW_API SUI00938_F {
    unsigned char flag = 0;
    short grade = 1;
    short gradeSub = 1;
};

// Check route (935): its levelling network part, start and end point.
struct HOSTFW_API SUI00935_F {
    DWORD networkPart = 0;
    DWORD startPoint = 0;
    DWORD endPoint = 0;
};

// Levelling network (917): the grade first. Readers preset the two shorts to 1.
struct HOSTFW_API SUI00917_F {
    short grade = 1;
    short second = 1;
};
