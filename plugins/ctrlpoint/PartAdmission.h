#pragma once

#include <functional>
#include <optional>

#include "plugins/ctrlpoint/ControlPointSiblings.h"

namespace mod00519 {

// The five part lists of the table dialog.
enum class PartListKind { Strict, Arbitrary, SingleRoute, CheckSurvey, CheckCalc };

// What admission needs to know about a part and the table.
struct AdmissionFacts {
    std::function<int(PartAddress)> programOf;                           // 0 when unknown
    std::function<std::optional<short>(int, PartAddress)> gradeOf;       // nullopt: unreadable
    std::optional<short> tableGrade;                                     // nullopt: `F1` unreadable
    std::function<bool(PartAddress)> inHandbookList;                     // already in `R3`
};

// May a part enter a list? A part or record that cannot be read is refused; it is
// never compared with whatever a record held before.
class PartAdmission {
public:
    static bool Admit(PartListKind list, PartAddress part, const AdmissionFacts& facts);
    // The programs a list takes (for the host's part search), 0-terminated.
    static const short* Programs(PartListKind list, bool secondColumn);
};

} // namespace mod00519
