#pragma once

#include "plugins/common/PluginTable.h"

namespace mod04827 {

inline constexpr WORD kProgramNo = 4827;

// What makes the common plug-in code the GNSS quality table.
const plugcommon::PluginTable& GnssPluginTable();

}  // namespace mod04827
