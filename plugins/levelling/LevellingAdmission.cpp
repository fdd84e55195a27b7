#include "plugins/levelling/LevellingAdmission.h"

#include "plugins/levelling/LevellingEvaluation.h"

namespace mod00963 {

using plugcommon::PartRefusal;

PartRefusal LevellingAdmission::Check(LevellingListKind list, PartAddress part, const LevellingAdmissionFacts& facts)
{
    const int program = part != 0 && facts.programOf ? facts.programOf(part) : 0;
    if (program == 0)
        return PartRefusal::Of(PartRefusal::Reason::Missing);
    if (program != Programs(list)[0]) {
        PartRefusal refusal = PartRefusal::Of(PartRefusal::Reason::Program);
        refusal.program = program;
        refusal.wanted = plugcommon::ProgramsOf(Programs(list));
        return refusal;
    }
    if (list != LevellingListKind::Network && (!facts.inList || facts.inList(part)))
        return PartRefusal::Of(PartRefusal::Reason::Duplicate);
    if (program == kProgObservationNote921)
        return {};
    if (!facts.tableGrade || facts.siblings == nullptr)
        return PartRefusal::Of(PartRefusal::Reason::TableGrade);
    const bool ofGrade = program == kProgNetworkAdjustment938
                             ? LevellingEvaluation::IsNetworkOfGrade(part, *facts.tableGrade, *facts.siblings)
                             : LevellingEvaluation::IsCheckRouteOfGrade(part, *facts.tableGrade, *facts.siblings);
    if (!ofGrade) {
        PartRefusal refusal = PartRefusal::Of(PartRefusal::Reason::Grade);
        if (program == kProgNetworkAdjustment938) {
            refusal.partGrade = facts.siblings->NetworkAdjustmentGrade(part);
        } else if (const std::optional<CheckRoute> route = facts.siblings->ReadCheckRoute(part)) {
            refusal.partGrade = facts.siblings->LevellingNetworkGrade(route->networkPart);
        }
        refusal.tableGrade = *facts.tableGrade;
        return refusal;
    }
    return {};
}

bool LevellingAdmission::Admit(LevellingListKind list, PartAddress part, const LevellingAdmissionFacts& facts)
{
    return !Check(list, part, facts).Refused();
}

const short* LevellingAdmission::Programs(LevellingListKind list)
{
    static const short networks[] = {938, 0};
    static const short notes[] = {921, 0};
    static const short routes[] = {935, 0};
    switch (list) {
    case LevellingListKind::Network: return networks;
    case LevellingListKind::Notes: return notes;
    case LevellingListKind::Routes: return routes;
    }
    return notes;
}

} // namespace mod00963
