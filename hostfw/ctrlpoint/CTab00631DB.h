#pragma once

#include "hostfw/CSiblingDB.h"

// Sibling view of the strict-network adjustment (calculation 631): F grade, R2 points.
class HOSTFW_API CTab00631DB : public CSiblingDB {
public:
    static constexpr WORD kProgramNo = 631;
    explicit CTab00631DB(PartSystem* handle);
};
