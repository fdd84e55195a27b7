#include "plugins/levelling/LevellingKeys.h"

#include "plugins/common/ComboListIni.h"
#include "plugins/common/QualityElements.h"

namespace mod00963 {

const std::array<const char*, LevellingKeys::kKeyCount>& LevellingKeys::IniKeys()
{
    static const std::array<const char*, kKeyCount> keys = {
        // F1
        "総製品名", "総ライセンス", "総作成時期", "総作成者", "総座標系", "総領域", "総検査者", "データ品質適用範囲",
        "等級区分", "総合否",
        // F2
        "対象種別",
        // F01
        "総完全要求", "個完全過剰要求", "個完全過剰方法", "個完全過剰結果", "個完全漏れ要求", "個完全漏れ方法",
        "個完全漏れ結果",
        // F02
        "総論理要求", "個論理書式要求", "個論理書式方法", "個論理書式結果", "個論理概念要求", "個論理概念方法",
        "個論理概念結果", "個論理定義要求", "個論理定義方法", "個論理定義結果", "個論理位相要求", "個論理位相方法",
        "個論理位相結果",
        // F03
        "総位置要求(自動/手入力)", "総位置要求", "個位置絶対要求", "個位置絶対方法", "個位置絶対結果",
        "個位置相対要求(自動/手入力)", "個位置相対要求 手入力値", "個位置相対方法", "個位置相対結果(自動/手入力)",
        "個位置相対結果 手入力値", "個位置グリッド要求(自動/手入力)", "個位置グリッド要求", "個位置グリッド方法",
        // F04
        "個位置グリッド結果(自動/手入力)", "個位置グリッド結果", "総時間要求", "個時間測定要求", "個時間測定方法",
        "個時間測定結果", "個時間一貫要求", "個時間一貫方法", "個時間一貫結果", "個時間妥当要求",
        // F05
        "個時間妥当方法", "個時間妥当結果", "総主題要求", "個主題分類要求", "個主題分類方法", "個主題分類結果",
        "個主題非定要求", "個主題非定方法", "個主題非定結果", "個主題定量要求",
        // never used
        "個主題定量方法", "個主題定量結果",
    };
    return keys;
}

const std::vector<LevellingKeys::StoredRecord>& LevellingKeys::Records()
{
    static const std::vector<StoredRecord> records = {{"F1", 10}, {"F2", 1},  {"F01", 7}, {"F02", 13},
                                                      {"F03", 13}, {"F04", 10}, {"F05", 10}};
    return records;
}

const plugcommon::PartListFiller::KeyTable& LevellingKeys::ListKeys()
{
    return plugcommon::QualityListKeys();
}

const plugcommon::PartListFiller& LevellingKeys::Lists()
{
    static const plugcommon::PartListFiller lists("SuiHyoCmb.ini", "SUIHYOCMB", ListKeys());
    return lists;
}

std::string GetSuiComboIniPath()
{
    return LevellingKeys::Lists().ListFilePath();
}

int FillListFromComboIni(GridListBox* list, const std::string& key)
{
    return plugcommon::FillListFromComboIni(GetSuiComboIniPath(), "SUIHYOCMB", list, key);
}

std::string ReadComboItem(const std::string& key, int index)
{
    return LevellingKeys::Lists().Item(key, index);
}

} // namespace mod00963
