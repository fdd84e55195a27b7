#pragma once

#include "hostfw/HostTypes.h"

#include <array>

namespace plugcommon {

// What differs between the three quality-table plug-ins; each defines one table and
// the common code reads everything plug-in specific from it.
struct PluginTable {
    WORD programNo;                  // 4827, 519, 963
    const char* helpModule;          // "MOD04827.DLL"
    const char* helpTopicMain;       // index 0: "品質評価表-メインヘルプ"
    const char* helpTopic;           // index 1: "品質評価表"
    int dialogMode;                  // 33, or 0x4001 for levelling
    DWORD formFlags;                 // first SvyForm argument: 32, or 0x4000
    const char* caption;             // "品質評価表", "基準点品質評価表", "水準測量品質評価表"
    const char* settingsSection;     // section of the plug-in's own INI files
    const char* listSection;         // "GPSHYOCMB", "KJNHYOCMB", "SUIHYOCMB"
    const char* deliveryIni;         // "\\GPSHYOCSV.INI"
    std::array<const char*, 7> defaultAttributes;
    const char* fileTypeText;        // "基準点品質評価表データ,csvﾌｧｲﾙ("
    const char* csvFileName;         // "GPSHYO.CSV"
    const char* csvDoneMessage;      // "品質評価表CSVファイル出力が終了しました"
};

} // namespace plugcommon
