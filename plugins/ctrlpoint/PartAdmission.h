#pragma once

#include <functional>
#include <optional>

#include "plugins/common/PartListFilter.h"
#include "plugins/ctrlpoint/ControlPointSiblings.h"

namespace mod00519 {

// The five part lists of the table dialog.
enum class PartListKind { Strict, Arbitrary, SingleRoute, CheckSurvey, CheckCalc };

// Part cells whose programs differ from their neighbours': the strict list's 628 column
// (the other takes 631) and the check calculations' height routes (the other column
// takes the horizontal routes).
inline constexpr DWORD kCellStrict628 = 0x0236011Cu;
inline constexpr DWORD kCellStrict631 = 0x0236012Cu;
inline constexpr DWORD kCellCheckCalcHeight = 0x0236020Cu;

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
    // The same rules with the reason of a refusal. slotPrograms (0-terminated) narrows
    // the programs to those of one cell (the strict list's 628 and 631 columns, the
    // check calculations' horizontal and height routes); null takes the list's own.
    static plugcommon::PartRefusal Check(PartListKind list, PartAddress part, const AdmissionFacts& facts,
                                         const short* slotPrograms = nullptr);
    // The programs a cell of the list takes, by its cell code; null when every cell
    // takes the list's own.
    static const short* SlotPrograms(PartListKind list, DWORD cellCode);
    // The programs a list takes (for the host's part search), 0-terminated.
    static const short* Programs(PartListKind list, bool secondColumn);
};

} // namespace mod00519
