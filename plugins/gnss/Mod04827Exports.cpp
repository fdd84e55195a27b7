// The plug-in's only exported symbols.
#include "plugins/common/PluginExports.h"
#include "plugins/gnss/CPartDlg.h"
#include "plugins/gnss/GnssPluginTable.h"
#include "plugins/gnss/Mod04827.h"

#include "hostfw/CTab04827DB.h"

namespace mod04827 {

const plugcommon::PluginEntry& ThisPlugin()
{
    static const plugcommon::PluginEntry entry =
        plugcommon::MakePluginEntry<Mod04827, CTab04827DB, CPartDlg>(GnssPluginTable());
    return entry;
}

}  // namespace mod04827

PLUGCOMMON_DEFINE_EXPORTS(mod04827::ThisPlugin)
