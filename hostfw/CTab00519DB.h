#pragma once

#include "hostfw/CTabParamDB.h"

// The parameter database of program 519 (its parts and their records).
class HOSTFW_API CTab00519DB : public CTabParamDB {
public:
    explicit CTab00519DB(PartSystem* handle);
    std::unique_ptr<PartData> NewPartData() const override;
};
