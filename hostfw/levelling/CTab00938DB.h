#pragma once

#include "hostfw/CSiblingDB.h"

// Sibling view of calculation 938 (levelling): its parts and stored answers.
class HOSTFW_API CTab00938DB : public CSiblingDB {
public:
    static constexpr WORD kProgramNo = 938;
    explicit CTab00938DB(PartSystem* handle);
    ~CTab00938DB() override;
};
