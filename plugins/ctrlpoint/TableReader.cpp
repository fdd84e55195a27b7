#include "plugins/ctrlpoint/TableReader.h"

#include "hostfw/Tab00519Data.h"
#include "plugins/ctrlpoint/ControlPointRecords.h"

namespace mod00519 {

ControlPointTable TableReader::Read(const Tab00519Data& data)
{
    ControlPointTable t;
    PartRecord r;
    if (data.Get_F1(r))
        t.grade = r.Short(rec::kF1Grade);
    if (data.Get_F2(r)) {
        t.networkKind = r.Short(rec::kF2NetworkKind);
        t.checkSurveyOutput = r.Short(rec::kF2CheckOutput);
    }
    if (data.Get_F03(r)) {
        for (std::size_t s = 0; s < 5; ++s)
            t.switches[s] = r.Short(rec::kF03Switch[s]);
    }
    if (data.Get_FR1(r)) {
        t.strict628 = r.Dword(rec::kFR1Strict628);
        t.strict631 = r.Dword(rec::kFR1Strict631);
    }
    if (data.Get_FR2(r))
        t.arbitraryNetwork = r.Dword(0);
    if (data.Get_FR3(r))
        t.singleRoute = r.Dword(0);
    const int handbooks = data.Get_R3Cnt();
    for (int i = 0; i < handbooks && data.Get_R3(i, r); ++i)
        t.handbooks.push_back(r.Dword(0));
    t.checkCalcs = ReadCheckCalcs(data);
    return t;
}

std::vector<CheckCalcRow> TableReader::ReadCheckCalcs(const Tab00519Data& data)
{
    std::vector<CheckCalcRow> rows;
    PartRecord r;
    const int count = data.Get_R4Cnt();
    for (int i = 0; i < count && data.Get_R4(i, r); ++i)
        rows.push_back({r.Dword(rec::kR4Horizontal), r.Dword(rec::kR4Height)});
    return rows;
}

} // namespace mod00519
