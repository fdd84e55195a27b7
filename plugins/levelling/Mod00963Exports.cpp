// The four exports of the levelling quality table plug-in.
#include "plugins/common/PluginExports.h"
#include "plugins/levelling/Mod00963Table.h"

PLUGCOMMON_DEFINE_EXPORTS(mod00963::LevellingPluginEntry)
