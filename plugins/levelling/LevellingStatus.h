#pragma once

#include <string>

namespace mod00963 {

// Outcomes of the levelling evaluation and the CSV command.
inline constexpr short kStatusOk = 0;
inline constexpr short kStatusNoNetwork = 1;
inline constexpr short kStatusNoNote = 2;
inline constexpr short kStatusOutputCancelled = 3;
inline constexpr short kStatusNoRoute = 4;
// The table or a sibling database could not be read at all.
inline constexpr short kStatusDataFailure = 5;

inline constexpr const char* kMessageDataFailure = "計算データの取得に失敗しました。";
inline constexpr const char* kMessageOutputCancelled = "出力を中止しました。";

// The text of an evaluation status for the calculation context: 1, 2 and 4 their own,
// any other failure the general text; "" for 0.
std::string EvaluationStatusMessage(short status);

} // namespace mod00963
