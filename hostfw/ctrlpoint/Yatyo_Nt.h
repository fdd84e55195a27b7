#pragma once

#include "hostfw/HostTypes.h"

class PartSystem;
class Tab00452Data;

// The host's field-book search.
class HOSTFW_API Yatyo_Nt {
public:
    // Loads the measurements of the station (the first 452 part whose header names
    // it); non-zero when found.
    static int SearchPart(long stationPoint, PartSystem* handle, Tab00452Data& out);
};
