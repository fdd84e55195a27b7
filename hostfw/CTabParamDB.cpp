#include "hostfw/CTabParamDB.h"

#include "hostfw/PartData.h"

CTabParamDB::CTabParamDB(PartSystem* handle, WORD programNo)
    : m_hDB(reinterpret_cast<std::uintptr_t>(handle)), m_partDB(handle, programNo)
{
}

CTabParamDB::~CTabParamDB() = default;

int CTabParamDB::Get(DWORD address, PartData& data, int flag) const
{
    return IsOpen() ? m_partDB.Get(address, &data, flag) : 0;
}

int CTabParamDB::Put(PartData& data)
{
    return IsOpen() ? m_partDB.Put(data) : 0;
}

std::unique_ptr<PartData> CTabParamDB::NewPartData() const
{
    return std::make_unique<PartData>(m_partDB.GetPrgNo(), 0);
}
