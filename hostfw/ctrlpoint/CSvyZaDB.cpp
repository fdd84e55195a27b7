#include "hostfw/ctrlpoint/CSvyZaDB.h"

#include "hostfw/PartRecord.h"
#include "hostfw/PartSystem.h"

namespace {
constexpr const char* kFigureTable = "FIGUREPART";
constexpr const char* kElementTable = "FIGUREELEMENT";
} // namespace

CSvyZaDB::CSvyZaDB(PartSystem* handle) : m_handle(handle) {}

int CSvyZaDB::PutFigurePart(DWORD partKey, WORD flag, const std::string& name)
{
    if (m_handle == nullptr || partKey == 0)
        return 0;
    PartRecord row;
    row.SetLong(0, flag);
    row.SetText(1, name);
    std::string error;
    return m_handle->PutAnswers(partKey, kFigureTable, {row}, error) ? 1 : 0;
}

int CSvyZaDB::GetFigurePartCount(DWORD partKey) const
{
    if (m_handle == nullptr)
        return 0;
    return static_cast<int>(m_handle->Answers(partKey, kFigureTable).size());
}

int CSvyZaDB::IsElement(DWORD elementAddress) const
{
    if (m_handle == nullptr || elementAddress == 0)
        return 0;
    return m_handle->Answers(elementAddress, kElementTable).empty() ? 0 : 1;
}
