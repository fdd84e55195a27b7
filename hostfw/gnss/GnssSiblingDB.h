#pragma once

#include "hostfw/CSiblingDB.h"

#include <vector>

// A sibling GNSS calculation's store: parts whose record "F" holds the work number in
// its first field. Stored answers are tables of rows per part.
class HOSTFW_API GnssSiblingDB : public CSiblingDB {
public:
    GnssSiblingDB(PartSystem* handle, WORD programNo);

    // Addresses of the active parts of the work, in record order. False when the store
    // is not open or a part could not be read.
    bool WorkParts(long workNo, std::vector<DWORD>& out) const;
    // The latest active part of the work (searched from the last record back); 0 when
    // none. False when a part could not be read.
    bool LatestWorkPart(long workNo, DWORD& out) const;
    // Work number of a loaded part (first field of "F").
    static long WorkOf(const PartData& part);
};

// One stored (N, E, U) answer triple, metres.
struct NeuTriple {
    double n = 0.0;
    double e = 0.0;
    double u = 0.0;
};

// The (N, E, U) rows of an answer table of a part ("ans"); 1 on success.
HOSTFW_API int ReadNeuAnswers(const CSiblingDB& db, DWORD part, std::vector<NeuTriple>& out);
