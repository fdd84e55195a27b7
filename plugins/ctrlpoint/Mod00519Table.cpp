#include "plugins/ctrlpoint/Mod00519Table.h"

#include "hostfw/CTab00519DB.h"
#include "plugins/common/PluginExports.h"
#include "plugins/common/PluginTable.h"
#include "plugins/ctrlpoint/CPartDlg.h"
#include "plugins/ctrlpoint/Mod00519.h"

namespace mod00519 {

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
    static const plugcommon::PluginEntry entry =
        plugcommon::MakePluginEntry<Mod00519, CTab00519DB, CPartDlg>(ControlPointPluginTable());
    return entry;
}

} // namespace mod00519
