#include "plugins/ctrlpoint/Mod00519Table.h"

#include "hostfw/CTab00519DB.h"
#include "plugins/common/PluginExports.h"
#include "plugins/common/PluginTable.h"
#include "plugins/ctrlpoint/CPartDlg.h"
#include "plugins/ctrlpoint/Mod00519.h"

namespace mod00519 {

namespace {

CVSvyPartPrg* CreateProgram(CVPartDocument* document)
{
    return new Mod00519(document);
}

std::unique_ptr<CTabParamDB> OpenDatabase(PartSystem* handle)
{
    return std::make_unique<CTab00519DB>(handle);
}

CVPartDlg* CreateDialog(VCmdData* cmd, std::unique_ptr<CTabParamDB> db, QWidget* parent, int mode)
{
    return new CPartDlg(cmd, std::move(db), parent, mode);
}

} // namespace

const plugcommon::PluginTable& ControlPointPluginTable()
{
    static const plugcommon::PluginTable table{
        519,
        "MOD00519.DLL",
        "基準点品質評価表-メインヘルプ",
        "基準点品質評価表",
        33,
        32,
        "基準点品質評価表",
        "基準点品質評価表",
        "KJNHYOCMB",
        "\\KJNHYOCSV.INI",
        {"基準点測量", "測量成果", "基準点測量", "1", "基準点測量", "メタデータ", "なし"},
        "基準点品質評価表データ,csvﾌｧｲﾙ(",
        "KJNHYO.CSV",
        "基準点品質評価表CSVファイル出力が終了しました",
    };
    return table;
}

const plugcommon::PluginEntry& ControlPointPluginEntry()
{
    static const plugcommon::PluginEntry entry{ControlPointPluginTable(), &CreateProgram, &OpenDatabase,
                                               &CreateDialog};
    return entry;
}

} // namespace mod00519
