#include "plugins/gnss/GnssResultMessages.h"

namespace mod04827 {

std::string ResultMessage(short code, std::string_view workKindName, std::string_view surveyKindName)
{
    switch (code) {
    case kResultOk: return std::string(kNormalMessage);
    case kResultNoStrictNetwork: return "等級区分が適合する厳密網が指示されていません。";
    case kResultNoFreeNetwork: return "等級区分が適合する任意網が指示されていません。";
    case kResultCheckPartNotOpen: return "基準点点検手簿のパートが開けません。";
    case kResultCheckPartData: return "基準点点検手簿のパートから取得できないデータがあります。";
    case kResultKindMismatch:
        return "作業管理:作業区分と測量区分が一致しない為、計算できませんでした。\n作業区分[" +
               std::string(workKindName) + "] 測量区分[" + std::string(surveyKindName) + "]";
    case kResultKnownPointCheckMissing: return "「既知点座標確認」 が未だ実行されていません。";
    case kResultNoSingleRoute: return "等級区分が適合する単路線が指示されていません。";
    default: break;
    }
    return "計算データの取得に失敗しました。";
}

}  // namespace mod04827
