#pragma once

#include <functional>
#include <optional>

#include "plugins/common/PartListFilter.h"
#include "plugins/levelling/LevellingSiblings.h"

namespace mod00963 {

// The three part lists of the levelling dialog.
enum class LevellingListKind { Network = 0, Notes = 1, Routes = 2 };

// What admission needs to know about a part and the table.
struct LevellingAdmissionFacts {
    std::function<int(PartAddress)> programOf;            // 0 when unknown
    LevellingSiblings* siblings = nullptr;                // grades of 938, 935 → 917
    std::optional<short> tableGrade;                      // nullopt: F1 unreadable
    std::function<bool(PartAddress)> inList;              // already in the list (R2, R3)
};

// May a part enter a list? A part, route or network whose record cannot be read is
// refused; it is never compared with a preset grade.
class LevellingAdmission {
public:
    static bool Admit(LevellingListKind list, PartAddress part, const LevellingAdmissionFacts& facts);
    // The same rules with the reason of a refusal.
    static plugcommon::PartRefusal Check(LevellingListKind list, PartAddress part,
                                         const LevellingAdmissionFacts& facts);
    // The program a list takes (for the host's part search), 0-terminated.
    static const short* Programs(LevellingListKind list);
};

} // namespace mod00963
