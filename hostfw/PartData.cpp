#include "hostfw/PartData.h"

#include "hostfw/RecordLayout.h"

PartData::PartData(WORD programNo, DWORD address) : m_programNo(programNo), m_address(address) {}

PartData::~PartData() = default;

std::string PartData::GetReportNoName(int kind) const
{
    auto it = m_reportNames.find(kind);
    return it == m_reportNames.end() ? std::string() : it->second;
}

void PartData::SetReportNoName(int kind, const std::string& name)
{
    m_reportNames[kind] = name;
}

void PartData::SetTitles(const std::string& title1, const std::string& title2)
{
    m_title1 = title1;
    m_title2 = title2;
}

const RecordSet* PartData::GetRecordSet() const
{
    return RecordSet::ForProgram(m_programNo);
}

bool PartData::GetRecord(const std::string& name, std::size_t row, PartRecord& out) const
{
    auto it = m_records.find(name);
    if (it != m_records.end() && row < it->second.size()) {
        out = it->second[row];
        if (const RecordSet* set = GetRecordSet())
            if (const RecordLayout* layout = set->ByName(name))
                if (out.FieldCount() < layout->FieldCount()) {
                    // A record stored shorter (an older layout) reads with empty tail fields.
                    PartRecord full(*layout);
                    for (std::size_t i = 0; i < out.FieldCount(); ++i)
                        full.Fields()[i] = out.Fields()[i];
                    out = std::move(full);
                }
        return true;
    }
    const RecordSet* set = GetRecordSet();
    const RecordLayout* layout = set ? set->ByName(name) : nullptr;
    out = layout ? PartRecord(*layout) : PartRecord();
    return false;
}

void PartData::PutRecord(const std::string& name, std::size_t row, const PartRecord& record)
{
    std::vector<PartRecord>& rows = m_records[name];
    if (row >= rows.size())
        rows.resize(row + 1);
    rows[row] = record;
}

std::size_t PartData::RowCount(const std::string& name) const
{
    auto it = m_records.find(name);
    return it == m_records.end() ? 0 : it->second.size();
}

void PartData::ClearRecord(const std::string& name)
{
    m_records.erase(name);
}

void PartData::EraseRow(const std::string& name, std::size_t row)
{
    auto it = m_records.find(name);
    if (it != m_records.end() && row < it->second.size())
        it->second.erase(it->second.begin() + static_cast<std::ptrdiff_t>(row));
}

int PartData::SearchRow(const std::string& name, std::size_t field, std::int64_t value) const
{
    auto it = m_records.find(name);
    if (it == m_records.end())
        return -1;
    for (std::size_t i = 0; i < it->second.size(); ++i)
        if (it->second[i].Long(field) == value)
            return static_cast<int>(i);
    return -1;
}

void PartData::ClearTypeData(int typeNo)
{
    if (const RecordSet* set = GetRecordSet())
        if (const RecordLayout* layout = set->ByTypeNo(typeNo))
            ClearRecord(layout->Name());
}
