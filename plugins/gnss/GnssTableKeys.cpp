#include "plugins/gnss/GnssTableKeys.h"

namespace mod04827 {

namespace {

using R = GnssRecord;

constexpr std::array<GnssTableKey, kGnssFieldCount> kKeys{{
    {R::F1, "総製品名", false, "", 0},
    {R::F1, "総ライセンス", false, "", 0},
    {R::F1, "総作成時期", false, "", 0},
    {R::F1, "総作成者", false, "", 0},
    {R::F1, "総座標系", true, "", 1},
    {R::F1, "総領域", false, "", 0},
    {R::F1, "総検査者", false, "", 0},
    {R::F1, "データ品質適用範囲", false, "適用範囲", 0},
    {R::F1, "総合否", false, "評価結果", 0},

    {R::F01, "総完全要求", false, "完全総括", 0},
    {R::F01, "個完全過剰要求", false, "完全過剰要求", 0},
    {R::F01, "個完全過剰方法", false, "完全過剰方法", 0},
    {R::F01, "個完全過剰結果", false, "完全過剰結果", 0},
    {R::F01, "個完全漏れ要求", false, "完全漏れ要求", 0},
    {R::F01, "個完全漏れ方法", false, "完全漏れ方法", 0},
    {R::F01, "個完全漏れ結果", false, "完全漏れ結果", 0},

    {R::F02, "総論理要求", false, "論理総括", 0},
    {R::F02, "個論理書式要求", false, "論理書式要求", 0},
    {R::F02, "個論理書式方法", false, "論理書式方法", 0},
    {R::F02, "個論理書式結果", false, "論理書式結果", 0},
    {R::F02, "個論理概念要求", false, "論理概念要求", 0},
    {R::F02, "個論理概念方法", false, "論理概念方法", 0},
    {R::F02, "個論理概念結果", false, "論理概念結果", 0},
    {R::F02, "個論理定義要求", false, "論理定義要求", 0},
    {R::F02, "個論理定義方法", false, "論理定義方法", 0},
    {R::F02, "個論理定義結果", false, "論理定義結果", 0},
    {R::F02, "個論理位相要求", false, "論理位相要求", 1},
    {R::F02, "個論理位相方法", false, "論理位相方法", 0},
    {R::F02, "個論理位相結果", false, "論理位相結果", 1},

    {R::F03, "総位置要求(自動/手入力)", true, "", 0},
    {R::F03, "総位置要求", false, "位置総括", 0},
    {R::F03, "個位置絶対要求(自動/手入力)", true, "", 0},
    {R::F03, "個位置絶対要求", false, "位置絶対要求", 0},
    {R::F03, "個位置絶対方法", false, "位置絶対方法", 0},
    {R::F03, "個位置絶対結果(自動/手入力)", true, "", 0},
    {R::F03, "個位置絶対結果", false, "位置絶対結果", 0},
    {R::F03, "個位置相対要求(自動/手入力)", true, "", 0},
    {R::F03, "個位置相対要求", false, "位置相対要求", 0},
    {R::F03, "個位置相対方法", false, "位置相対方法", 0},
    {R::F03, "個位置相対結果(自動/手入力)", true, "", 0},
    {R::F03, "個位置相対結果", false, "位置相対結果", 0},
    {R::F03, "個位置グリッド要求", false, "位置グリ要求", 0},
    {R::F03, "個位置グリッド方法", false, "位置グリ方法", 0},
    {R::F03, "個位置グリッド結果", false, "位置グリ結果", 0},

    {R::F04, "総時間要求", false, "時間総括", 1},
    {R::F04, "個時間測定要求", false, "時間測定要求", 1},
    {R::F04, "個時間測定方法", false, "時間測定方法", 0},
    {R::F04, "個時間測定結果", false, "時間測定結果", 1},
    {R::F04, "個時間一貫要求", false, "時間一貫要求", 1},
    {R::F04, "個時間一貫方法", false, "時間一貫方法", 0},
    {R::F04, "個時間一貫結果", false, "時間一貫結果", 1},
    {R::F04, "個時間妥当要求", false, "時間妥当要求", 1},
    {R::F04, "個時間妥当方法", false, "時間妥当方法", 0},
    {R::F04, "個時間妥当結果", false, "時間妥当結果", 1},

    {R::F05, "総主題要求", false, "主題総括", 0},
    {R::F05, "個主題分類要求", false, "主題分類要求", 1},
    {R::F05, "個主題分類方法", false, "主題分類方法", 0},
    {R::F05, "個主題分類結果", false, "主題分類結果", 1},
    {R::F05, "個主題非定要求", false, "主題非定要求", 0},
    {R::F05, "個主題非定方法", false, "主題非定方法", 0},
    {R::F05, "個主題非定結果", false, "主題非定結果", 0},
    {R::F05, "個主題定量要求", false, "主題定量要求", 1},
    {R::F05, "個主題定量方法", false, "主題定量方法", 0},
    {R::F05, "個主題定量結果", false, "主題定量結果", 1},
}};

}  // namespace

const std::array<GnssTableKey, kGnssFieldCount>& GnssTableKeys()
{
    return kKeys;
}

std::size_t FirstFieldOf(GnssRecord record)
{
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        if (kKeys[i].record == record) return i;
    }
    return kKeys.size();
}

std::size_t FieldCountOf(GnssRecord record)
{
    std::size_t n = 0;
    for (const auto& key : kKeys) {
        if (key.record == record) ++n;
    }
    return n;
}

int TextFieldIndex(GnssRecord record, int textItem)
{
    if (textItem < 0) return -1;
    int k = 0;
    for (std::size_t i = FirstFieldOf(record); i < kKeys.size() && kKeys[i].record == record; ++i) {
        if (kKeys[i].isShort) continue;
        if (k == textItem) return static_cast<int>(i);
        ++k;
    }
    return -1;
}

int TextCountOf(GnssRecord record)
{
    int n = 0;
    for (const auto& key : kKeys) {
        if (key.record == record && !key.isShort) ++n;
    }
    return n;
}

int SwitchFieldIndex(int switchNumber)
{
    int n = 0;
    for (std::size_t i = FirstFieldOf(GnssRecord::F03); i < kKeys.size(); ++i) {
        if (kKeys[i].record != GnssRecord::F03) break;
        if (kKeys[i].isShort && ++n == switchNumber) return static_cast<int>(i);
    }
    return -1;
}

int ZoneFieldIndex()
{
    return static_cast<int>(FirstFieldOf(GnssRecord::F1)) + 4;
}

}  // namespace mod04827
