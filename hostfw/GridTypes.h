#pragma once

#include "hostfw/HostTypes.h"

#include <string>

// A grid cell as the sheet hooks see it.
struct HOSTFW_API GridCellInfo {
    int row = 0;
    int col = 0;
    DWORD code = 0;     // the template's cell code
};

// Display request of one cell (the grid's display-info notification).
struct HOSTFW_API GridDispInfo {
    static constexpr unsigned kMaskState = 0x02;
    static constexpr unsigned kStyleLockable = 0x08;
    static constexpr unsigned kStateReadOnly = 0x08;

    GridCellInfo cell;
    unsigned mask = kMaskState;
    unsigned style = kStyleLockable;
    unsigned state = 0;
    std::string text;
};

// A field change a sheet reports to its dialog (the host's 0x80CD message):
// first int 1 when a value was stored, second int non-zero when it differs.
struct HOSTFW_API FieldChange {
    int stored = 0;
    int changed = 0;
    GridCellInfo cell;
};

inline constexpr unsigned kMsgFieldChange = 0x80CD;
inline constexpr unsigned kMsgUser = 0x0400;   // WM_USER
inline constexpr std::uint32_t kColorDefault = 0xFF000000;
inline constexpr std::uint32_t kColorLocked = 0xF0F0F0;
