#pragma once

#include <string>

// The viewer's LAS converter: reads the point dump the viewer writes for a LAS
// export and writes a LAS 1.2 file of point format 2 (227-byte header, no variable
// length records, 26-byte records) whose header takes the point count, bounds,
// scales and offsets from the dump.
//
// Dump (little-endian, packed): uint32 magic 0x40474C56, uint16 version 0x0100,
// int32 N, 6 doubles min x/y/z then max x/y/z, 3 doubles scales, 3 doubles
// offsets, then N records of 44 bytes: double x, y, z, int32 red, green, blue
// (0..255), double intensity.
//
// The LAS file is written beside the target and renamed over it only when
// complete; on any error nothing is left and the old target stays.
namespace lasconsole {

inline constexpr std::size_t kDumpHeaderBytes = 0x6A;
inline constexpr std::size_t kDumpRecordBytes = 44;
inline constexpr std::size_t kLasHeaderBytes = 227;
inline constexpr std::size_t kLasRecordBytes = 26;

//! False with error set when the dump is unreadable or a value does not fit.
bool ConvertDumpToLas(const std::string& dumpPath, const std::string& lasPath, std::string& error);

} // namespace lasconsole
