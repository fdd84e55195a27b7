#pragma once

#include "hostfw/gnss/GnssSiblingDB.h"

// Ring closures of GNSS baseline rings (program 4735): per part, answer rows (N, E, U).
class HOSTFW_API CTab04735DB : public GnssSiblingDB {
public:
    explicit CTab04735DB(PartSystem* handle) : GnssSiblingDB(handle, 4735) {}
};

// The (N, E, U) triples of a part; 1 on success.
HOSTFW_API int GetMod04735Ans(const CTab04735DB& db, DWORD part, std::vector<NeuTriple>& out);
