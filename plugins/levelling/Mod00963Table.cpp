#include "plugins/levelling/Mod00963Table.h"

#include "hostfw/CTab00963DB.h"
#include "plugins/common/PluginExports.h"
#include "plugins/common/PluginTable.h"
#include "plugins/levelling/CPartDlg.h"
#include "plugins/levelling/Mod00963.h"

namespace mod00963 {

const plugcommon::PluginTable& LevellingPluginTable()
{
    static const plugcommon::PluginTable table{
        963,
        "MOD00963.DLL",
        "水準測量品質評価表-メインヘルプ",
        "水準測量品質評価表",
        0x4001,
        0x4000,
        "水準測量品質評価表",
        "水準測量品質評価表",
        "SUIHYOCMB",
        "\\SUIHYOCSV.INI",
        {"水準測量", "測量成果", "水準測量", "1", "水準測量", "メタデータ", "なし"},
        "水準測量品質評価表データ,csvﾌｧｲﾙ(",
        "SUIHYO.CSV",
        "水準測量品質評価表CSVファイル出力が終了しました",
    };
    return table;
}

const plugcommon::PluginEntry& LevellingPluginEntry()
{
    static const plugcommon::PluginEntry entry =
        plugcommon::MakePluginEntry<Mod00963, CTab00963DB, CPartDlg>(LevellingPluginTable());
    return entry;
}

} // namespace mod00963
