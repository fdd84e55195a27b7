#pragma once

namespace plugcommon {
struct PluginEntry;
struct PluginTable;
} // namespace plugcommon

namespace mod00963 {

// What the common code takes from this plug-in.
const plugcommon::PluginTable& LevellingPluginTable();
const plugcommon::PluginEntry& LevellingPluginEntry();

} // namespace mod00963
