#include "plugins/common/GradeCheck.h"

namespace plugcommon {

GradeCheck::Outcome GradeCheck::Apply(short newGrade, bool hasChosenParts, const std::function<bool()>& confirm)
{
    if (newGrade == m_grade)
        return Outcome::Unchanged;
    Outcome outcome = Outcome::Changed;
    if (hasChosenParts) {
        if (!confirm || !confirm())
            return Outcome::Restored;
        outcome = Outcome::ChangedClearing;
    }
    m_grade = newGrade;
    return outcome;
}

} // namespace plugcommon
