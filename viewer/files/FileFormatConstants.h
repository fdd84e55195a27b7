#pragma once

#include <cstdint>

// Numbers the stored files and the host rely on.
namespace fileformat {

inline constexpr std::uint32_t kArchiveMagic = 0x40474C56;
inline constexpr std::uint16_t kHostFileVersion = 0x0100;
inline constexpr std::uint16_t kModelVersionOldest = 0x0101;
inline constexpr std::uint16_t kModelVersion0102 = 0x0102;
inline constexpr std::uint16_t kModelVersion0103 = 0x0103;
inline constexpr std::uint16_t kModelVersionCurrent = 0x0104;

// Content word of a host data file.
inline constexpr std::int32_t kHostCad = 0x01;
inline constexpr std::int32_t kHostGroup = 0x02;
inline constexpr std::int32_t kHostPart = 0x04;
inline constexpr std::int32_t kHostViewCloud = 0x08;
inline constexpr std::int32_t kHostAddGroupOnly = 0x02;   // the value exactly 2

// Content flags of model files and undo snapshots.
inline constexpr std::uint16_t kGroupPoints = 0x01;
inline constexpr std::uint16_t kGroupTins = 0x02;
inline constexpr std::uint16_t kCadFigures = 0x04;
inline constexpr std::uint16_t kViewCloud = 0x08;
inline constexpr std::uint16_t kPartDrawing = 0x10;
inline constexpr std::uint16_t kCadTin = 0x20;
inline constexpr std::uint16_t kStructures = 0x40;
inline constexpr std::uint16_t kTrailingRecords = 0x80;
inline constexpr std::uint16_t kEverything = 0xFFFF;

inline constexpr std::size_t kHostTransformBytes = 74;
inline constexpr double kUnset = 1e-16;
inline constexpr std::uint32_t kViewCloudColour = 0x00804000;

}  // namespace fileformat
