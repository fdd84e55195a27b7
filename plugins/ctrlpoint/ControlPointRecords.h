#pragma once

#include <cstddef>

// Field numbers of the control-point table's records (Tab00519Data).
namespace mod00519::rec {

// F1
inline constexpr std::size_t kF1Product = 0;
inline constexpr std::size_t kF1License = 1;
inline constexpr std::size_t kF1Created = 2;      // 総作成時期
inline constexpr std::size_t kF1Author = 3;
inline constexpr std::size_t kF1Zone = 4;         // short
inline constexpr std::size_t kF1Area = 5;
inline constexpr std::size_t kF1Inspector = 6;
inline constexpr std::size_t kF1Scope = 7;        // データ品質適用範囲
inline constexpr std::size_t kF1Grade = 8;        // short
inline constexpr std::size_t kF1Verdict = 9;      // 総合否
// F2
inline constexpr std::size_t kF2NetworkKind = 0;
inline constexpr std::size_t kF2CheckOutput = 1;
// F03: the switches A to E and the texts each governs.
inline constexpr std::size_t kF03Switch[5] = {0, 2, 5, 7, 10};
inline constexpr std::size_t kF03Summary = 1;
inline constexpr std::size_t kF03AbsRequirement = 3;
inline constexpr std::size_t kF03AbsMethod = 4;
inline constexpr std::size_t kF03AbsResult = 6;
inline constexpr std::size_t kF03RelRequirement = 8;
inline constexpr std::size_t kF03RelMethod = 9;
inline constexpr std::size_t kF03RelResult = 11;
inline constexpr std::size_t kF03GridRequirement = 12;
inline constexpr std::size_t kF03GridMethod = 13;
inline constexpr std::size_t kF03GridResult = 14;
// FR1: 628 then 631; R4: horizontal (687) then height (684).
inline constexpr std::size_t kFR1Strict628 = 0;
inline constexpr std::size_t kFR1Strict631 = 1;
inline constexpr std::size_t kR4Horizontal = 0;
inline constexpr std::size_t kR4Height = 1;

} // namespace mod00519::rec
