#pragma once

#include <functional>

namespace plugcommon {

// The guard on a change of the survey grade in a table's header sheet. The sheet
// remembers the part's grade (taken afresh at every load and part change); a new
// grade with network or check-calculation parts chosen needs the user's consent,
// because those parts were admitted for the old grade.
class GradeCheck {
public:
    enum class Outcome {
        Unchanged,        // the same grade: nothing asked
        Changed,          // nothing chosen: taken silently
        ChangedClearing,  // confirmed: the caller empties the chosen parts
        Restored,         // declined: the caller writes Remembered() back into the cell
    };

    void Remember(short grade) { m_grade = grade; }
    short Remembered() const { return m_grade; }

    // newGrade: the grade now in the cell; hasChosenParts: any part that the change
    // discards; confirm asks the question and answers true for Yes.
    Outcome Apply(short newGrade, bool hasChosenParts, const std::function<bool()>& confirm);

private:
    short m_grade = 1;
};

} // namespace plugcommon
