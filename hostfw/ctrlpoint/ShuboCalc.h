#pragma once

#include "hostfw/HostTypes.h"
#include "hostfw/ctrlpoint/ShbJ_Nt.h"

#include <utility>
#include <vector>

class PartSystem;

// One averaged observation of a check handbook; angles d.mmss.
struct HOSTFW_API HeikinData {
    long pointNo = 0;
    double distance = 0.0;
    double direction = 0.0;
    double vertical = 0.0;
};

// The host's handbook averaging. This stand-in serves the averages the handbook's
// calculation stored, and only when the rows handed to it are exactly the handbook's
// stored sets (same set, same order, same points): a row handed to the wrong set
// makes Calc fail.
class HOSTFW_API ShuboCalc {
public:
    ShuboCalc(PartSystem* handle, DWORD handbookPart, const ShboCalVur& conditions);

    void SetHeadData(long pointNo, double instrumentHeight);
    // setIndex: 0 1r, 1 1l, 2 2l, 3 2r, 4 3r, 5 3l; angles in radians.
    void SetData(int setIndex, long pointNo, double horizontalRad, double verticalRad, double distance,
                 double targetHeight);
    int Calc();   // 0 on success

    int GetNumHeikin() const { return static_cast<int>(m_averages.size()); }
    int GetHeikin(int k, HeikinData& out) const;   // k from 1; non-zero on success
    const ShboCalVur& Conditions() const { return m_conditions; }

private:
    PartSystem* m_handle;
    DWORD m_part;
    ShboCalVur m_conditions;
    long m_headPoint = 0;
    std::vector<std::pair<int, long>> m_handed;
    std::vector<HeikinData> m_averages;
};
