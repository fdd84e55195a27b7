#pragma once

#include "hostfw/CSiblingDB.h"

// Sibling view of the arbitrary-network adjustment (calculation 622): F grade, R2 parts.
class HOSTFW_API CTab00622DB : public CSiblingDB {
public:
    static constexpr WORD kProgramNo = 622;
    explicit CTab00622DB(PartSystem* handle);
};
