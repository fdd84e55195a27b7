#include "hostfw/ctrlpoint/SeidoLib.h"

#include "hostfw/PartSystem.h"
#include "hostfw/ctrlpoint/ControlPointSiblingRecords.h"

int SeidoLib::Get(PartSystem* handle, DWORD part, SEIDO_NET& out)
{
    if (handle == nullptr || part == 0)
        return 0;
    const std::vector<PartRecord> rows = handle->Answers(part, ctrlsib::kAnsSeidoNet);
    if (rows.empty())
        return 0;
    const PartRecord& r = rows.front();
    out = {r.Double(0), r.Double(1), r.Double(2), r.Double(3), r.Double(4), r.Double(5)};
    return 1;
}

int SeidoLib::Get(PartSystem* handle, DWORD part, SEIDO_ROUTE& out)
{
    if (handle == nullptr || part == 0)
        return 0;
    const std::vector<PartRecord> rows = handle->Answers(part, ctrlsib::kAnsSeidoRoute);
    if (rows.empty())
        return 0;
    const PartRecord& r = rows.front();
    out = {static_cast<long>(r.Long(0)), r.Double(1), r.Double(2), r.Double(3)};
    return 1;
}
