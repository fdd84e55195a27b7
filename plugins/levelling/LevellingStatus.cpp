#include "plugins/levelling/LevellingStatus.h"

namespace mod00963 {

std::string EvaluationStatusMessage(short status)
{
    switch (status) {
    case kStatusOk: return {};
    case kStatusNoNetwork: return "等級区分が適合する水準網が指示されていません。";
    case kStatusNoNote:
        return "指示された水準測量観測手簿について、等級区分が適合し、かつ計算できるものがありません。";
    case kStatusNoRoute:
        return "指示された水準点検路線について、等級区分が適合し、かつ計算済みのものがありません。";
    default: return kMessageDataFailure;
    }
}

} // namespace mod00963
