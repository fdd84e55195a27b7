#pragma once

#include "outside/MTRX.h"

#include <cstdint>
#include <optional>
#include <string>

class CModelDataMng;

// The point dump a LAS or LAZ export hands to the LAS converter (tools/lasconsole):
// the shown point clouds in group order, in survey coordinates, one file per
// output file of a split export. Little-endian, packed: uint32 magic 0x40474C56,
// uint16 version 0x0100, int32 N, min x/y/z, max x/y/z, scales, offsets (doubles),
// then N records of 44 bytes (double x, y, z; int32 red, green, blue; double
// intensity).
namespace lasdump {

inline constexpr std::int64_t kNoLimit = 0;

//! Points per output file for the split settings (mode 1: by megabytes, mode 2: by
//! units of 10,000 points, else none; a LAZ target is never split); kNoLimit for
//! none, at most 2,147,483,647. Worked out in 64 bits.
std::int64_t PointsPerFile(int mode, std::int64_t megabytes, std::int64_t pointUnits, bool lazTarget);

struct AxisScale {
    double scale = 0.0001;
    double offset = 0.0;
};
//! x and y: the offset in the middle of the range and the smallest multiple of
//! 0.0001 that brings both ends into int32 (truncating toward zero); none for
//! non-finite bounds.
std::optional<AxisScale> CentredScale(double min, double max);
//! z: the offset at the minimum and the smallest multiple of 0.0001 that brings
//! the range into int32; none for non-finite bounds.
std::optional<AxisScale> BaseScale(double min, double max);

//! Where a dump starts and the next one goes on: group index, point index.
struct Position {
    std::int64_t group = 0;
    std::int64_t point = 0;
};

struct DumpResult {
    bool written = false;      // a complete dump with at least one point is on disk
    std::int64_t points = 0;   // records in it
    bool done = false;         // the walk passed the store's last group
    std::string error;
};

//! Writes the dump of the points from `at` on, at most `limit` of them
//! (kNoLimit: all), and moves `at` to the first point not in it. Hidden groups
//! are passed over; points the store cannot read are skipped. Coordinates go
//! through toSurvey (x, y; z as stored); bounds are taken over the converted
//! values. No file is left when nothing is written.
DumpResult WriteDump(const std::string& path, const CModelDataMng& store, const MTRX& toSurvey, Position& at,
                     std::int64_t limit);

} // namespace lasdump
