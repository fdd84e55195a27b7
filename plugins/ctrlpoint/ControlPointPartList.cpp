#include "plugins/ctrlpoint/ControlPointPartList.h"

#include "hostfw/CVApp.h"
#include "hostfw/PartData.h"
#include "hostfw/PeldaSysData.h"
#include "hostfw/ctrlpoint/CSvyZaDB.h"
#include "hostfw/gnss/KjnXyda_Nt.h"
#include "plugins/ctrlpoint/BoardImport.h"
#include "plugins/ctrlpoint/ControlPointRecords.h"
#include "plugins/ctrlpoint/HostControlPointSiblings.h"

namespace mod00519 {

ControlPointPartList::ControlPointPartList(PartListKind kind, QWidget* parent)
    : AdmittingPartList(2, "基準点品質評価表", parent), m_kind(kind), m_coordinates(std::make_unique<KjnXyda_Nt>())
{
    ForgetSiblingReads();
}

void ControlPointPartList::ForgetSiblingReads()
{
    const PeldaSysData* system = PeldaGetApp().GetCurPartSysData();
    m_siblings = std::make_unique<HostControlPointSiblings>(system != nullptr ? system->GetHandle() : nullptr, system,
                                                            *m_coordinates);
}

ControlPointPartList::~ControlPointPartList() = default;

AdmissionFacts ControlPointPartList::Facts()
{
    AdmissionFacts facts;
    facts.programOf = [this](PartAddress part) { return m_siblings->ProgramOf(part); };
    facts.gradeOf = [this](int program, PartAddress part) -> std::optional<short> {
        short grade = 0;
        if (!m_siblings->ReadPartGrade(program, part, grade))
            return std::nullopt;
        return grade;
    };
    PartRecord f1;
    if (GetPartData() != nullptr && GetPartData()->GetRecord("F1", 0, f1))
        facts.tableGrade = f1.Short(rec::kF1Grade);
    facts.inHandbookList = [this](PartAddress part) {
        return GetPartData() != nullptr && GetPartData()->SearchRow("R3", 0, part) >= 0;
    };
    return facts;
}

BOOL ControlPointPartList::CheckFuncPartAddr(DWORD address)
{
    return PartAdmission::Admit(m_kind, address, Facts()) ? 1 : 0;
}

plugcommon::PartRefusal ControlPointPartList::CheckTypedPart(DWORD address, DWORD code)
{
    if ((address & BoardImport::kFigureFlag) != 0) {
        // A figure element, as the board import stores one.
        plugcommon::PartRefusal refusal;
        if (m_kind != PartListKind::Strict && m_kind != PartListKind::CheckCalc)
            refusal.reason = plugcommon::PartRefusal::Reason::Missing;
        else if (CheckFuncZa(address & ~BoardImport::kFigureFlag) == 0)
            refusal.reason = plugcommon::PartRefusal::Reason::Element;
        return refusal;
    }
    ForgetSiblingReads();
    return PartAdmission::Check(m_kind, address, Facts(), PartAdmission::SlotPrograms(m_kind, code));
}

BOOL ControlPointPartList::CheckFuncZa(DWORD element)
{
    const PeldaSysData* system = PeldaGetApp().GetCurPartSysData();
    return CSvyZaDB(system != nullptr ? system->GetHandle() : nullptr).IsElement(element);
}

std::optional<std::int64_t> ControlPointPartList::RouteKey(int program, PartAddress part)
{
    std::int64_t key = 0;
    if (!m_siblings->ReadRouteKey(program, part, key))
        return std::nullopt;
    return key;
}

} // namespace mod00519
