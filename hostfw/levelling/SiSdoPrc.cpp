#include "hostfw/levelling/SiSdoPrc.h"

#include "hostfw/PartSystem.h"
#include "hostfw/levelling/LevellingSiblingRecords.h"

SiSdoPrc::SiSdoPrc(PartSystem* handle, int mode) : m_handle(handle), m_mode(mode) {}

int SiSdoPrc::Get(DWORD part, DbSiSdo& out) const
{
    out = DbSiSdo{};
    if (m_handle == nullptr || part == 0)
        return 0;
    const bool network = m_mode == kModeNetwork;
    const std::vector<PartRecord> rows = m_handle->Answers(part, network ? suisib::kAnsSdoNet : suisib::kAnsSdoRoute);
    if (rows.empty() || rows.front().FieldCount() == 0)
        return 0;
    if (network)
        out.standardDeviation = rows.front().Double(0);
    else
        out.closure = rows.front().Double(0);
    return 1;
}
