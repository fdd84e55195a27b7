#include "hostfw/CPartDB.h"

#include "hostfw/PartData.h"
#include "hostfw/PartSystem.h"

#include <algorithm>

CPartDB::CPartDB(PartSystem* handle, WORD programNo) : m_handle(handle), m_programNo(programNo)
{
    Refresh();
}

CPartDB::~CPartDB() = default;

void CPartDB::Refresh()
{
    m_addresses.clear();
    m_active.clear();
    if (!m_handle)
        return;
    for (const PartSystem::PartEntry& entry : m_handle->PartEntries(m_programNo)) {
        m_addresses.push_back(entry.address);
        m_active.push_back(entry.active ? 1 : 0);
    }
}

int CPartDB::Get(DWORD address, PartData* out, int) const
{
    if (!m_handle || !out)
        return 0;
    PartData data;
    if (!m_handle->LoadPart(address, data) || data.GetPrgNo() != m_programNo)
        return 0;
    // Keep the caller's object kind (a Tab04827Data stays one).
    static_cast<PartData&>(*out) = data;
    return 1;
}

int CPartDB::Put(PartData& part)
{
    if (!m_handle) {
        m_error = "パートシステムが開いていません";
        return 0;
    }
    if (part.GetPrgNo() != m_programNo) {
        m_error = "プログラム番号が違います";
        return 0;
    }
    if (part.GetAddress() == 0) {
        PartData withAddress(m_programNo, m_handle->NextFreeAddress());
        // Copy identity and records into an object that carries the new address.
        withAddress.SetPartKey(part.GetPartKey() ? part.GetPartKey() : withAddress.GetAddress());
        withAddress.SetName(part.GetName());
        withAddress.SetTitles(part.GetTitle1(), part.GetTitle2());
        withAddress.SetActive(part.IsActive());
        for (int kind = 0; kind <= 5; ++kind)
            if (!part.GetReportNoName(kind).empty())
                withAddress.SetReportNoName(kind, part.GetReportNoName(kind));
        for (const auto& [name, rows] : part.Records())
            for (std::size_t r = 0; r < rows.size(); ++r)
                withAddress.PutRecord(name, r, rows[r]);
        if (!m_handle->StorePart(withAddress, m_error))
            return 0;
        static_cast<PartData&>(part) = withAddress;
        Refresh();
        return 1;
    }
    if (!m_handle->StorePart(part, m_error))
        return 0;
    // A new address or a changed active flag: read the list again.
    const long index = IndexOf(static_cast<long>(part.GetAddress()));
    if (index < 0 || (m_active[static_cast<std::size_t>(index)] != 0) != part.IsActive())
        Refresh();
    return 1;
}

long CPartDB::IndexOf(long recNo) const
{
    if (recNo < 0)
        return -1;
    auto it = std::lower_bound(m_addresses.begin(), m_addresses.end(), static_cast<DWORD>(recNo));
    if (it == m_addresses.end() || *it != static_cast<DWORD>(recNo))
        return -1;
    return static_cast<long>(it - m_addresses.begin());
}

int CPartDB::IsActive(long recNo) const
{
    const long index = IndexOf(recNo);
    return index >= 0 && m_active[static_cast<std::size_t>(index)] ? 1 : 0;
}

long CPartDB::GetActiveRecNum() const
{
    return static_cast<long>(std::count(m_active.begin(), m_active.end(), 1));
}

long CPartDB::GetTopRecNo() const
{
    return m_addresses.empty() ? -1 : static_cast<long>(m_addresses.front());
}

long CPartDB::GetLastRecNo() const
{
    return m_addresses.empty() ? -1 : static_cast<long>(m_addresses.back());
}

long CPartDB::GetNextRecNo(long recNo) const
{
    if (recNo < 0)
        return -1;
    auto it = std::upper_bound(m_addresses.begin(), m_addresses.end(), static_cast<DWORD>(recNo));
    return it == m_addresses.end() ? -1 : static_cast<long>(*it);
}

long CPartDB::GetBeforeRecNo(long recNo) const
{
    if (recNo < 0)
        return -1;
    auto it = std::lower_bound(m_addresses.begin(), m_addresses.end(), static_cast<DWORD>(recNo));
    return it == m_addresses.begin() ? -1 : static_cast<long>(*(it - 1));
}

int PartDB_GetPrgName(PartSystem* handle, WORD programNo, std::string& text)
{
    text = handle ? handle->ProgramName(programNo) : std::string();
    return text.empty() ? 0 : 1;
}
