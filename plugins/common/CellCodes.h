#pragma once

#include "hostfw/HostTypes.h"

namespace plugcommon {

// Cell codes of the table sheets: text item k of a page, and the automatic/manual
// switch governing text item k.
constexpr DWORD TextCellCode(unsigned k) { return (static_cast<DWORD>(k) << 28) | 0x0FFF0D0Cu; }
constexpr DWORD SwitchCellCode(unsigned k) { return (static_cast<DWORD>(k) << 28) | 0x01C4046Eu; }
// Item index of a text cell code, -1 for another code.
constexpr int TextItemOf(DWORD code)
{
    return (code & 0x0FFFFFFFu) == 0x0FFF0D0Cu ? static_cast<int>(code >> 28) : -1;
}

} // namespace plugcommon
