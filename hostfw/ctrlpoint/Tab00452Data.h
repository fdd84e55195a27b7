#pragma once

#include "hostfw/PartData.h"

// One field-book measurement record; angles d.mmss, distance in metres.
struct HOSTFW_API SVY00452_KEISOKU_REP {
    long pointNo = 0;
    double distance = 0.0;
    double horizontal = 0.0;
    double vertical = 0.0;
    short verticalIsAltitude = 0;   // 0: the record holds a zenith distance
};

// The field-book measurements of one station (calculation 452).
class HOSTFW_API Tab00452Data : public PartData {
public:
    static constexpr WORD kProgramNo = 452;
    Tab00452Data() = default;
    explicit Tab00452Data(const PartData& data) : PartData(data) {}

    long GetStation() const;
    int GetCnt() const;
    // Record j; 0 when it cannot be read (a row whose point number was never stored).
    int GetRep(int j, SVY00452_KEISOKU_REP& out) const;
};
