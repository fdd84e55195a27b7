#include "hostfw/CSiblingDB.h"

#include "hostfw/PartSystem.h"

CSiblingDB::CSiblingDB(PartSystem* handle, WORD programNo) : m_partDB(handle, programNo) {}

CSiblingDB::~CSiblingDB() = default;

int CSiblingDB::Get(DWORD address, PartData& data, int flag) const
{
    return m_partDB.Get(address, &data, flag);
}

std::vector<PartRecord> CSiblingDB::GetAnswers(DWORD address, const std::string& table) const
{
    if (!IsOpen() || m_partDB.GetHandle()->ProgramOf(address) != m_partDB.GetPrgNo())
        return {};
    return m_partDB.GetHandle()->Answers(address, table);
}
