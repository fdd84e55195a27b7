#include "plugins/ctrlpoint/PartAdmission.h"

namespace mod00519 {

namespace {

bool GradeMatches(int program, PartAddress part, const AdmissionFacts& facts)
{
    if (!facts.tableGrade || !facts.gradeOf)
        return false;
    const std::optional<short> grade = facts.gradeOf(program, part);
    return grade && *grade == *facts.tableGrade;
}

} // namespace

bool PartAdmission::Admit(PartListKind list, PartAddress part, const AdmissionFacts& facts)
{
    if (part == 0 || !facts.programOf)
        return false;
    const int program = facts.programOf(part);
    switch (list) {
    case PartListKind::Strict:
        return (program == kProgStrict628 || program == kProgStrict631) && GradeMatches(program, part, facts);
    case PartListKind::Arbitrary:
    case PartListKind::SingleRoute:
        return (program == kProgArbitrary622 || program == kProgSingleRoute625) && GradeMatches(program, part, facts);
    case PartListKind::CheckSurvey:
        return program == kProgHandbook681 && facts.inHandbookList && !facts.inHandbookList(part);
    case PartListKind::CheckCalc:
        return (program == kProgHeightRoute684 || program == kProgHorizontalRoute687) &&
               GradeMatches(program, part, facts);
    }
    return false;
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
