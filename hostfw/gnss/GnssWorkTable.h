#pragma once

#include "hostfw/HostTypes.h"

#include <vector>

class PartSystem;

// One entry of the host's GNSS work table: the work key (work number), its work kind
// and the number of its condition set.
struct WorkTbl {
    long workKey = 0;
    short workKind = 0;
    WORD conditionNo = 0;
};

inline constexpr int kMaxWorkEntries = 100;

// The work table of a part system (condition table "GnssWorkTable", key 0:
// {"current": n, "works": [{"no", "kind", "condition"}...]}), at most 100 entries.
// Answers the number of entries, or -1 when the table is missing or unreadable.
HOSTFW_API int GetDefWork(const PartSystem* handle, std::vector<WorkTbl>& out);
// The entry of a work number; false when the table has none.
HOSTFW_API bool FindWork(const PartSystem* handle, long workNo, WorkTbl& out);
// The host's current work number, 0 when none.
HOSTFW_API long GetCurrentWorkNo(const PartSystem* handle);
