#pragma once

#include <string>

namespace mod00519 {

// Result codes of the control-point evaluation.
inline constexpr short kStatusOk = 0;
inline constexpr short kStatusNoStrictNetwork = 1;
inline constexpr short kStatusNoArbitraryNetwork = 2;
inline constexpr short kStatusOutputCancelled = 3;   // CSV command only
inline constexpr short kStatusHandbookDbClosed = 4;
inline constexpr short kStatusMeasurementUnreadable = 5;
inline constexpr short kStatusCheckCalcWrongGrade = 6;
// A sibling database would not open: the data could not be gathered at all.
inline constexpr short kStatusDataUnavailable = 9;
inline constexpr short kStatusNoSingleRoute = 21;

inline constexpr const char* kMessageDone = "処理が正常に行われました。";
inline constexpr const char* kMessageGeneralFailure = "計算データの取得に失敗しました。";
inline constexpr const char* kMessageOutputCancelled = "出力を中止しました。";

// The message of an evaluation status as the calculation reports it. Status 6 names
// the offending row (itemIndex counted from 0) and its item kind; unknown codes give
// the general failure text.
std::string EvaluationStatusMessage(short status, int itemIndex, const std::string& itemKind);

} // namespace mod00519
