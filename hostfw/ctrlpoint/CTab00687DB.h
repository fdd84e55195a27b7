#pragma once

#include "hostfw/CSiblingDB.h"

// Sibling view of the horizontal-route check calculations (calculation 687): F grade and route key.
class HOSTFW_API CTab00687DB : public CSiblingDB {
public:
    static constexpr WORD kProgramNo = 687;
    explicit CTab00687DB(PartSystem* handle);
};
