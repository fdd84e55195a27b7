#include "hostfw/TabParamData.h"

TabParamData::~TabParamData() = default;

PartRecord TabParamData::NewRecord(const char* name) const
{
    const RecordSet* set = GetRecordSet();
    const RecordLayout* layout = set ? set->ByName(name) : nullptr;
    return layout ? PartRecord(*layout) : PartRecord();
}

int TabParamData::GetRec(const char* name, PartRecord& out) const
{
    return GetRecord(name, 0, out) ? 1 : 0;
}

int TabParamData::PutRec(const char* name, const PartRecord& record)
{
    PutRecord(name, 0, record);
    return 1;
}

int TabParamData::GetRow(const char* name, int index, PartRecord& out) const
{
    if (index < 0) {
        GetRecord(name, RowCount(name) + 1, out);   // clears out to the layout
        return 0;
    }
    return GetRecord(name, static_cast<std::size_t>(index), out) ? 1 : 0;
}

int TabParamData::PutRow(const char* name, int index, const PartRecord& record)
{
    if (index < 0 || static_cast<std::size_t>(index) > RowCount(name))
        return 0;
    PutRecord(name, static_cast<std::size_t>(index), record);
    return 1;
}

int TabParamData::RowCnt(const char* name) const
{
    return static_cast<int>(RowCount(name));
}

int TabParamData::SrchRow(const char* name, DWORD address) const
{
    return SearchRow(name, 0, static_cast<std::int64_t>(address));
}

void TabParamData::ClearRows(const char* name)
{
    ClearRecord(name);
}

int TabParamData::DeleteRow(const char* name, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= RowCount(name))
        return 0;
    EraseRow(name, static_cast<std::size_t>(index));
    return 1;
}
