#pragma once

#include "hostfw/HostTypes.h"

// The host's coordinate record. GetZno gives the current plane-rectangular zone
// (1..19; callers use the low byte). The host sets the zone of the open survey with
// SetCurrentZone; a fresh object reads it.
class HOSTFW_API KjnXyda_Nt {
public:
    KjnXyda_Nt();
    virtual ~KjnXyda_Nt();

    int GetZno() const;

    static void SetCurrentZone(int zone);
    static int CurrentZone();

private:
    int m_zone;
};
