#include "hostfw/ctrlpoint/TenkenLib.h"

#include "hostfw/CSiblingDB.h"
#include "hostfw/ctrlpoint/ControlPointSiblingRecords.h"

int TenkenLib::Get(const CSiblingDB& db, DWORD part, long pointNo, TENKEN_REC& out)
{
    for (const PartRecord& row : db.GetAnswers(part, ctrlsib::kAnsTenken)) {
        if (row.Long(0) != pointNo)
            continue;
        out.pointNo = pointNo;
        out.horizontalSd = row.Double(1);
        out.heightSd = row.Double(2);
        return 1;
    }
    return 0;
}

int TenkenLib::GetAll(const CSiblingDB& db, DWORD part, std::vector<TENKEN_REC>& out)
{
    out.clear();
    for (const PartRecord& row : db.GetAnswers(part, ctrlsib::kAnsTenken))
        out.push_back({static_cast<long>(row.Long(0)), row.Double(1), row.Double(2)});
    return out.empty() ? 0 : 1;
}
