#pragma once

#include "hostfw/CTabParamDB.h"

// The parameter database of program 4827 (its parts and their records).
class HOSTFW_API CTab04827DB : public CTabParamDB {
public:
    explicit CTab04827DB(PartSystem* handle);
    std::unique_ptr<PartData> NewPartData() const override;
};
