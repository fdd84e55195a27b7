#include "plugins/levelling/CVSheetPartListX.h"

#include "hostfw/CVApp.h"
#include "hostfw/PartData.h"
#include "hostfw/PeldaSysData.h"
#include "plugins/levelling/HostLevellingSiblings.h"
#include "plugins/levelling/LevellingRecords.h"

namespace mod00963 {

namespace {

const PeldaSysData* CurrentSystem()
{
    CVApp& app = PeldaGetApp();
    return app.GetPartSysData(app.GetCurPartSysNo());
}

} // namespace

CVSheetPartListX::CVSheetPartListX(LevellingListKind kind, QWidget* parent)
    : CVSheetPartList(2, parent), m_kind(kind), m_systemData(CurrentSystem())
{
    m_siblings = std::make_unique<HostLevellingSiblings>(m_systemData != nullptr ? m_systemData->GetHandle() : nullptr,
                                                         m_systemData);
}

CVSheetPartListX::~CVSheetPartListX() = default;

BOOL CVSheetPartListX::CheckFuncPartAddr(DWORD address)
{
    LevellingAdmissionFacts facts;
    facts.programOf = [this](PartAddress part) { return m_siblings->ProgramOf(part); };
    facts.siblings = m_siblings.get();
    PartRecord f1;
    if (GetPartData() != nullptr && GetPartData()->GetRecord("F1", 0, f1))
        facts.tableGrade = f1.Short(rec::kF1Grade);
    const char* record = m_kind == LevellingListKind::Notes ? "R2" : "R3";
    facts.inList = [this, record](PartAddress part) {
        return GetPartData() != nullptr && GetPartData()->SearchRow(record, 0, part) >= 0;
    };
    return LevellingAdmission::Admit(m_kind, address, facts) ? 1 : 0;
}

BOOL CVSheetPartListX::CheckFuncZa(DWORD)
{
    return 0;
}

} // namespace mod00963
