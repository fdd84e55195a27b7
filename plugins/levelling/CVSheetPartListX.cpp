#include "plugins/levelling/CVSheetPartListX.h"

#include <unordered_set>

#include "hostfw/CVApp.h"
#include "hostfw/PartData.h"
#include "hostfw/PeldaSysData.h"
#include "plugins/levelling/HostLevellingSiblings.h"
#include "plugins/levelling/LevellingRecords.h"

namespace mod00963 {

CVSheetPartListX::CVSheetPartListX(LevellingListKind kind, QWidget* parent)
    : AdmittingPartList(2, "水準測量品質評価表", parent), m_kind(kind), m_systemData(PeldaGetApp().GetCurPartSysData())
{
    m_siblings = std::make_unique<HostLevellingSiblings>(m_systemData != nullptr ? m_systemData->GetHandle() : nullptr,
                                                         m_systemData);
}

CVSheetPartListX::~CVSheetPartListX() = default;

LevellingAdmissionFacts CVSheetPartListX::Facts()
{
    LevellingAdmissionFacts facts;
    facts.programOf = [this](PartAddress part) { return m_siblings->ProgramOf(part); };
    facts.siblings = m_siblings.get();
    PartRecord f1;
    if (GetPartData() != nullptr && GetPartData()->GetRecord("F1", 0, f1))
        facts.tableGrade = f1.Short(rec::kF1Grade);
    return facts;
}

BOOL CVSheetPartListX::CheckFuncPartAddr(DWORD address)
{
    return CheckTypedPart(address, 0).Refused() ? 0 : 1;
}

plugcommon::PartRefusal CVSheetPartListX::CheckTypedPart(DWORD address, DWORD)
{
    LevellingAdmissionFacts facts = Facts();
    facts.inList = [this](PartAddress part) {
        return GetPartData() != nullptr && GetPartData()->SearchRow(ListRecord(), 0, part) >= 0;
    };
    return LevellingAdmission::Check(m_kind, address, facts);
}

int CVSheetPartListX::AddParts(const std::vector<DWORD>& parts, DWORD column)
{
    if (m_kind == LevellingListKind::Network) {
        for (const DWORD part : parts) {
            if (AddPart(part, column))
                return 1;
        }
        return 0;
    }
    PartData* data = GetPartData();
    if (data == nullptr)
        return 0;
    const char* record = ListRecord();
    std::unordered_set<PartAddress> held;
    std::vector<std::size_t> empty;
    const std::size_t rows = data->RowCount(record);
    for (std::size_t r = 0; r < rows; ++r) {
        PartRecord row;
        data->GetRecord(record, r, row);
        if (row.Dword(0) == 0)
            empty.push_back(r);
        else
            held.insert(row.Dword(0));
    }
    LevellingAdmissionFacts facts = Facts();
    facts.inList = [&held](PartAddress part) { return held.count(part) != 0; };
    std::size_t nextEmpty = 0;
    std::size_t appended = rows;
    int added = 0;
    for (const DWORD part : parts) {
        if (!LevellingAdmission::Admit(m_kind, part, facts))
            continue;
        held.insert(part);
        const std::size_t at = nextEmpty < empty.size() ? empty[nextEmpty++] : appended++;
        PartRecord row;
        data->GetRecord(record, at, row);
        row.SetDword(0, part);
        data->PutRecord(record, at, row);
        ++added;
    }
    return added;
}

BOOL CVSheetPartListX::CheckFuncZa(DWORD)
{
    return 0;
}

} // namespace mod00963
