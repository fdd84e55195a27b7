#include "plugins/ctrlpoint/PartAdmission.h"

#include <algorithm>

namespace mod00519 {

namespace {

using plugcommon::PartRefusal;

// The programs a list takes from a search (the strict list both of its columns').
std::vector<int> ListPrograms(PartListKind list)
{
    switch (list) {
    case PartListKind::Strict: return {kProgStrict628, kProgStrict631};
    case PartListKind::Arbitrary:
    case PartListKind::SingleRoute: return {kProgArbitrary622, kProgSingleRoute625};
    case PartListKind::CheckSurvey: return {kProgHandbook681};
    case PartListKind::CheckCalc: return {kProgHorizontalRoute687, kProgHeightRoute684};
    }
    return {};
}

} // namespace

PartRefusal PartAdmission::Check(PartListKind list, PartAddress part, const AdmissionFacts& facts,
                                 const short* slotPrograms)
{
    const int program = part != 0 && facts.programOf ? facts.programOf(part) : 0;
    if (program == 0)
        return PartRefusal::Of(PartRefusal::Reason::Missing);
    const std::vector<int> wanted = slotPrograms != nullptr ? plugcommon::ProgramsOf(slotPrograms) : ListPrograms(list);
    if (std::find(wanted.begin(), wanted.end(), program) == wanted.end()) {
        PartRefusal refusal = PartRefusal::Of(PartRefusal::Reason::Program);
        refusal.program = program;
        refusal.wanted = wanted;
        return refusal;
    }
    if (list == PartListKind::CheckSurvey) {
        if (!facts.inHandbookList || facts.inHandbookList(part))
            return PartRefusal::Of(PartRefusal::Reason::Duplicate);
        return {};
    }
    if (!facts.tableGrade)
        return PartRefusal::Of(PartRefusal::Reason::TableGrade);
    const std::optional<short> grade = facts.gradeOf ? facts.gradeOf(program, part) : std::nullopt;
    if (!grade || *grade != *facts.tableGrade) {
        PartRefusal refusal = PartRefusal::Of(PartRefusal::Reason::Grade);
        refusal.partGrade = grade;
        refusal.tableGrade = *facts.tableGrade;
        return refusal;
    }
    return {};
}

bool PartAdmission::Admit(PartListKind list, PartAddress part, const AdmissionFacts& facts)
{
    return !Check(list, part, facts).Refused();
}

const short* PartAdmission::SlotPrograms(PartListKind list, DWORD cellCode)
{
    static const short horizontal[] = {687, 0};
    static const short height[] = {684, 0};
    switch (list) {
    case PartListKind::Strict: return Programs(list, cellCode == kCellStrict631);
    case PartListKind::CheckCalc: return cellCode == kCellCheckCalcHeight ? height : horizontal;
    default: return nullptr;
    }
}

const short* PartAdmission::Programs(PartListKind list, bool secondColumn)
{
    static const short strict628[] = {628, 0};
    static const short strict631[] = {631, 0};
    static const short arbitrary[] = {622, 0};
    static const short single[] = {625, 0};
    static const short handbooks[] = {681, 0};
    static const short checkCalcs[] = {687, 684, 0};
    switch (list) {
    case PartListKind::Strict: return secondColumn ? strict631 : strict628;
    case PartListKind::Arbitrary: return arbitrary;
    case PartListKind::SingleRoute: return single;
    case PartListKind::CheckSurvey: return handbooks;
    case PartListKind::CheckCalc: return checkCalcs;
    }
    return handbooks;
}

} // namespace mod00519
