#include "plugins/levelling/LevellingAdmission.h"

#include "plugins/levelling/LevellingEvaluation.h"

namespace mod00963 {

bool LevellingAdmission::Admit(LevellingListKind list, PartAddress part, const LevellingAdmissionFacts& facts)
{
    if (part == 0 || !facts.programOf)
        return false;
    if (list != LevellingListKind::Network && (!facts.inList || facts.inList(part)))
        return false;
    const int program = facts.programOf(part);
    if (program != Programs(list)[0])
        return false;
    if (program == kProgObservationNote921)
        return true;
    if (!facts.tableGrade || facts.siblings == nullptr)
        return false;
    if (program == kProgNetworkAdjustment938)
        return LevellingEvaluation::IsNetworkOfGrade(part, *facts.tableGrade, *facts.siblings);
    return LevellingEvaluation::IsCheckRouteOfGrade(part, *facts.tableGrade, *facts.siblings);
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
