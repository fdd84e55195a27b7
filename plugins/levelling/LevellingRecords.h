#pragma once

#include <cstddef>

// Field numbers of the levelling table's records (Tab00963Data), by role.
namespace mod00963::rec {

// F1, the table header.
inline constexpr std::size_t kF1Product = 0;
inline constexpr std::size_t kF1License = 1;
inline constexpr std::size_t kF1Created = 2;
inline constexpr std::size_t kF1Author = 3;
inline constexpr std::size_t kF1Zone = 4;
inline constexpr std::size_t kF1Area = 5;
inline constexpr std::size_t kF1Inspector = 6;
inline constexpr std::size_t kF1Scope = 7;
inline constexpr std::size_t kF1Grade = 8;
inline constexpr std::size_t kF1Verdict = 9;

// F2.
inline constexpr std::size_t kF2TargetKind = 0;

// F03, positional accuracy.
inline constexpr std::size_t kF03OverallSwitch = 0;
inline constexpr std::size_t kF03OverallManual = 1;
inline constexpr std::size_t kF03AbsRequirement = 2;
inline constexpr std::size_t kF03AbsMethod = 3;
inline constexpr std::size_t kF03AbsResult = 4;
inline constexpr std::size_t kF03RelRequirementSwitch = 5;
inline constexpr std::size_t kF03RelRequirementManual = 6;
inline constexpr std::size_t kF03RelMethod = 7;
inline constexpr std::size_t kF03RelResultSwitch = 8;
inline constexpr std::size_t kF03RelResultManual = 9;
inline constexpr std::size_t kF03GridRequirement = 10;
inline constexpr std::size_t kF03GridMethod = 11;
inline constexpr std::size_t kF03GridResult = 12;

// FR1: the network adjustment part.
inline constexpr std::size_t kFR1Network = 0;

// Type-data numbers of the lists.
inline constexpr int kTypeNetwork = 7;
inline constexpr int kTypeNotes = 8;
inline constexpr int kTypeRoutes = 9;

} // namespace mod00963::rec
