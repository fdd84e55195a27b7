#pragma once

#include "hostfw/CSiblingDB.h"

// Sibling view of the height-route check calculations (calculation 684): F grade and route key.
class HOSTFW_API CTab00684DB : public CSiblingDB {
public:
    static constexpr WORD kProgramNo = 684;
    explicit CTab00684DB(PartSystem* handle);
};
