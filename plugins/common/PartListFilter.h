#pragma once

#include "hostfw/HostTypes.h"

#include <optional>
#include <string>
#include <vector>

namespace plugcommon {

// The part search's code test: 1 when programNo is 0 or one of the zero-terminated
// list's entries, else 0. The address is not used.
int IsCodeInList(DWORD address, WORD programNo, const short* programList);

// Why a part may not enter a part list (None: it may).
struct PartRefusal {
    enum class Reason { None, Missing, Program, Grade, TableGrade, Duplicate, Element };
    Reason reason = Reason::None;
    int program = 0;                    // the part's program (Program)
    std::vector<int> wanted;            // the programs the cell takes (Program)
    std::optional<short> partGrade;     // the part's grade when it could be read (Grade)
    short tableGrade = 0;               // the table's grade (Grade)

    bool Refused() const { return reason != Reason::None; }
    static PartRefusal Of(Reason why)
    {
        PartRefusal refusal;
        refusal.reason = why;
        return refusal;
    }
};

// The programs of a zero-terminated list.
std::vector<int> ProgramsOf(const short* programList);
// What the person is told when the part typed into a list is refused.
std::string RefusalText(DWORD part, const PartRefusal& refusal);

} // namespace plugcommon
