// The four exports of the control-point quality table plug-in.
#include "plugins/common/PluginExports.h"
#include "plugins/ctrlpoint/Mod00519Table.h"

PLUGCOMMON_DEFINE_EXPORTS(mod00519::ControlPointPluginEntry)
