#include "plugins/levelling/LevellingTable.h"

#include "hostfw/Tab00963Data.h"
#include "plugins/levelling/LevellingRecords.h"

namespace mod00963 {

LevellingTable LevellingTable::Read(const Tab00963Data& data)
{
    LevellingTable table;
    PartRecord f1, f03, fr1, row;
    table.readable = data.Get_F1(f1) != 0 && data.Get_F03(f03) != 0;
    table.grade = f1.Short(rec::kF1Grade);
    table.switches = {f03.Short(rec::kF03OverallSwitch), f03.Short(rec::kF03RelRequirementSwitch),
                      f03.Short(rec::kF03RelResultSwitch)};
    if (data.Get_FR1(fr1))
        table.network = fr1.Dword(rec::kFR1Network);
    const int notes = data.Get_R2Cnt();
    for (int i = 0; i < notes; ++i) {
        if (data.Get_R2(i, row))
            table.notes.push_back(row.Dword(0));
    }
    const int routes = data.Get_R3Cnt();
    for (int i = 0; i < routes; ++i) {
        if (data.Get_R3(i, row))
            table.routes.push_back(row.Dword(0));
    }
    return table;
}

} // namespace mod00963
