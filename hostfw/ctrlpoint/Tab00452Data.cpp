#include "hostfw/ctrlpoint/Tab00452Data.h"

#include <variant>

#include "hostfw/ctrlpoint/ControlPointSiblingRecords.h"

long Tab00452Data::GetStation() const
{
    PartRecord header;
    return GetRecord(ctrlsib::kRecKs, 0, header) ? static_cast<long>(header.Long(0)) : 0;
}

int Tab00452Data::GetCnt() const
{
    return static_cast<int>(RowCount(ctrlsib::kRecKeisoku));
}

int Tab00452Data::GetRep(int j, SVY00452_KEISOKU_REP& out) const
{
    PartRecord row;
    if (j < 0 || !GetRecord(ctrlsib::kRecKeisoku, static_cast<std::size_t>(j), row))
        return 0;
    if (row.FieldCount() <= ctrlsib::kKeiPoint ||
        !std::holds_alternative<std::int64_t>(row.Fields()[ctrlsib::kKeiPoint]))
        return 0;
    out.pointNo = static_cast<long>(row.Long(ctrlsib::kKeiPoint));
    out.distance = row.Double(ctrlsib::kKeiDistance);
    out.horizontal = row.Double(ctrlsib::kKeiHorizontal);
    out.vertical = row.Double(ctrlsib::kKeiVertical);
    out.verticalIsAltitude = row.Short(ctrlsib::kKeiVerticalIsAltitude);
    return 1;
}
