#pragma once

#include "hostfw/gnss/GnssSiblingDB.h"

// Differences of duplicate GNSS baselines (program 4741): per part, answer rows (N, E, U).
class HOSTFW_API CTab04741DB : public GnssSiblingDB {
public:
    explicit CTab04741DB(PartSystem* handle) : GnssSiblingDB(handle, 4741) {}
};

// The (N, E, U) triples of a part; 1 on success.
HOSTFW_API int GetMod04741Ans(const CTab04741DB& db, DWORD part, std::vector<NeuTriple>& out);
