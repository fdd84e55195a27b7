// The plug-in's only exported symbols.
#include "plugins/common/PluginExports.h"
#include "plugins/gnss/CPartDlg.h"
#include "plugins/gnss/GnssPluginTable.h"
#include "plugins/gnss/Mod04827.h"

#include "hostfw/CTab04827DB.h"

namespace mod04827 {

namespace {

CVSvyPartPrg* CreateProgram(CVPartDocument* document)
{
    return new Mod04827(document);
}

std::unique_ptr<CTabParamDB> OpenDatabase(PartSystem* handle)
{
    return std::make_unique<CTab04827DB>(handle);
}

CVPartDlg* CreateDialog(VCmdData* cmd, std::unique_ptr<CTabParamDB> db, QWidget* parent, int mode)
{
    return new CPartDlg(cmd, std::move(db), parent, mode);
}

}  // namespace

const plugcommon::PluginEntry& ThisPlugin()
{
    static const plugcommon::PluginEntry entry{GnssPluginTable(), CreateProgram, OpenDatabase, CreateDialog};
    return entry;
}

}  // namespace mod04827

PLUGCOMMON_DEFINE_EXPORTS(mod04827::ThisPlugin)
