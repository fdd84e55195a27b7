#pragma once

#include <string>
#include <string_view>

namespace mod04827 {

// Result codes of the GNSS evaluation.
inline constexpr short kResultOk = 0;
inline constexpr short kResultNoStrictNetwork = 1;
inline constexpr short kResultNoFreeNetwork = 2;
inline constexpr short kResultCheckPartNotOpen = 4;
inline constexpr short kResultCheckPartData = 5;
inline constexpr short kResultKindMismatch = 7;
inline constexpr short kResultKnownPointCheckMissing = 10;
inline constexpr short kResultNoSingleRoute = 21;
inline constexpr short kResultGeneralFailure = 99;

inline constexpr std::string_view kNormalMessage = "処理が正常に行われました。";

// The text reported for a result code; code 7 names the work kind and the survey kind.
std::string ResultMessage(short code, std::string_view workKindName, std::string_view surveyKindName);

}  // namespace mod04827
