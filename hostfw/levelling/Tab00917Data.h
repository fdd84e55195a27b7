#pragma once

#include "hostfw/TabParamData.h"
#include "hostfw/levelling/SuiRecords.h"

// A part of calculation 917 with its header record "F".
class HOSTFW_API Tab00917Data : public TabParamData {
public:
    static constexpr WORD kProgramNo = 917;
    Tab00917Data();
    explicit Tab00917Data(const PartData& data);
    ~Tab00917Data() override;

    // Non-zero when the record was read; out keeps its preset values otherwise.
    int GetF(SUI00917_F& out) const;
};
