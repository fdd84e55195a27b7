#pragma once

#include "hostfw/HostTypes.h"
#include "hostfw/gnss/GnssWorkTable.h"

class PartSystem;

// The work a GNSS part dialog shows: SetWorkNo chooses a work of the work table,
// GetWorkTbl answers its entry (the host's current work when none was chosen).
class HOSTFW_API GpsWorkSelection {
public:
    explicit GpsWorkSelection(const PartSystem* handle) : m_handle(handle) {}

    // False when the work table has no entry for the work.
    bool SetWorkNo(long workNo);
    // 1 when the entry was found, 0 otherwise.
    int GetWorkTbl(WorkTbl& out) const;

private:
    const PartSystem* m_handle;
    long m_workNo = 0;
};
