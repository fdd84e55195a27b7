#include "plugins/gnss/GnssPluginTable.h"

namespace mod04827 {

const plugcommon::PluginTable& GnssPluginTable()
{
    static const plugcommon::PluginTable table{
        kProgramNo,
        "MOD04827.DLL",
        "品質評価表-メインヘルプ",
        "品質評価表",
        33,
        32,
        "品質評価表",
        "基準点品質評価表",
        "GPSHYOCMB",
        "\\GPSHYOCSV.INI",
        {"基準点測量", "測量成果", "基準点測量", "1", "基準点測量", "メタデータ", "なし"},
        "基準点品質評価表データ,csvﾌｧｲﾙ(",
        "GPSHYO.CSV",
        "品質評価表CSVファイル出力が終了しました",
    };
    return table;
}

}  // namespace mod04827
