#pragma once

#include "hostfw/HostTypes.h"

// The host's levelling observation conditions: the precision code of the results
// (4: results with one decimal; any other code: none).
struct HOSTFW_API JSUIJKN {
    unsigned char precisionCode = 0;
};
