#include "plugins/ctrlpoint/ControlPointKeys.h"

#include "plugins/common/ComboListIni.h"
#include "plugins/common/QualityElements.h"

namespace mod00519 {

using plugcommon::QualityKeyTriples;

const std::vector<ControlPointKeys::RecordKeys>& ControlPointKeys::SettingsKeys()
{
    static const std::vector<RecordKeys> keys = {
        {"F1", 0, {"総製品名", "総ライセンス", "総作成時期", "総作成者", "総座標系", "総領域", "総検査者",
                   "データ品質適用範囲", "等級区分", "総合否"}},
        {"F2", -1, {"対象種別", "点検測量出力有無"}},
        {"F01", 2, QualityKeyTriples("総完全要求", "個完全", {"過剰", "漏れ"})},
        {"F02", 3, QualityKeyTriples("総論理要求", "個論理", {"書式", "概念", "定義", "位相"})},
        {"F03", 4, {"総位置要求(自動/手入力)", "総位置要求", "個位置絶対要求(自動/手入力)", "個位置絶対要求",
                    "個位置絶対方法", "個位置絶対結果(自動/手入力)", "個位置絶対結果",
                    "個位置相対要求(自動/手入力)", "個位置相対要求", "個位置相対方法",
                    "個位置相対結果(自動/手入力)", "個位置相対結果", "個位置グリッド要求", "個位置グリッド方法",
                    "個位置グリッド結果"}},
        {"F04", 5, QualityKeyTriples("総時間要求", "個時間", {"測定", "一貫", "妥当"})},
        {"F05", 6, QualityKeyTriples("総主題要求", "個主題", {"分類", "非定", "定量"})},
    };
    return keys;
}

const plugcommon::PartListFiller::KeyTable& ControlPointKeys::ListKeys()
{
    return plugcommon::QualityListKeys();
}

const plugcommon::PartListFiller& ControlPointKeys::Lists()
{
    static const plugcommon::PartListFiller lists("KjnHyoCmb.ini", "KJNHYOCMB", ListKeys());
    return lists;
}

std::string GetKjnComboIniPath()
{
    return ControlPointKeys::Lists().ListFilePath();
}

int FillListFromComboIni(GridListBox* list, const std::string& key)
{
    return plugcommon::FillListFromComboIni(GetKjnComboIniPath(), "KJNHYOCMB", list, key);
}

std::string ReadComboItem(const std::string& key, int index)
{
    return ControlPointKeys::Lists().Item(key, index);
}

} // namespace mod00519
