#include "plugins/ctrlpoint/ControlPointStatus.h"

#include <cstdio>

namespace mod00519 {

std::string EvaluationStatusMessage(short status, int itemIndex, const std::string& itemKind)
{
    switch (status) {
    case kStatusOk:
        return kMessageDone;
    case kStatusNoStrictNetwork:
        return "等級区分が適合する厳密網が指示されていません。";
    case kStatusNoArbitraryNetwork:
        return "等級区分が適合する任意網が指示されていません。";
    case kStatusNoSingleRoute:
        return "等級区分が適合する単路線が指示されていません。";
    case kStatusHandbookDbClosed:
        return "基準点点検手簿のパートが開けません。";
    case kStatusMeasurementUnreadable:
        return "基準点点検手簿のパートから取得できないデータがあります。";
    case kStatusCheckCalcWrongGrade: {
        char number[16];
        std::snprintf(number, sizeof number, "%d", itemIndex + 1);
        return std::string("等級区分が適合しない点検計算パートが指示されています。\n項番[") + number + "][" +
               itemKind + "]";
    }
    default:
        return kMessageGeneralFailure;
    }
}

} // namespace mod00519
