#pragma once

namespace plugcommon {
struct PluginEntry;
struct PluginTable;
} // namespace plugcommon

namespace mod00519 {

// What the common code takes from this plug-in.
const plugcommon::PluginTable& ControlPointPluginTable();
const plugcommon::PluginEntry& ControlPointPluginEntry();

} // namespace mod00519
