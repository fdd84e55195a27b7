#pragma once

// The group point record that host data files and model files share (x, y, z as
// doubles, a colour word, an intensity double: 36 bytes), and the reading of a run
// of them into a group's points on worker threads.

#include "outside/CPCloudMng.h"
#include "platform/Parallel.h"
#include "viewer/files/ModelArchive.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <new>

inline constexpr std::uint64_t kGroupPointRecordBytes = 36;

struct GroupPointRecord {
    double x, y, z;
    std::uint32_t colour;
    double intensity;
};

inline GroupPointRecord DecodeGroupPointRecord(const std::uint8_t* p)
{
    GroupPointRecord r;
    std::memcpy(&r.x, p, 8);
    std::memcpy(&r.y, p + 8, 8);
    std::memcpy(&r.z, p + 16, 8);
    std::memcpy(&r.colour, p + 24, 4);
    std::memcpy(&r.intensity, p + 28, 8);
    return r;
}

// Loading: the next `count` (> 0) group point records become group.m_points, decoded
// in blocks straight from the file, in parts on worker threads, into their places.
// toPoint(record, point) writes one record's point and returns null, or the reason
// the record is refused, which stops its part; the first refused record of the file
// gives the archive its failure. Each part gathers the bounds of its points, so the
// grid is built from them without another pass. False when the points could not be
// had (the archive fails with `noMemory`) or a record was refused or the file ended;
// the points written so far are left to the caller.
template <class ToPoint>
bool ReadGroupPointRecordsInParts(ModelArchive& ar, CPCloudMng& group, std::uint64_t count, const char* noMemory,
                                  ToPoint toPoint)
{
    try {
        group.m_points.resize(std::size_t(count));  // written below, not zeroed first
    } catch (const std::bad_alloc&) {
        ar.Fail(noMemory);
        return false;
    }
    struct BadRecord {
        std::uint64_t index = UINT64_MAX;
        const char* reason = nullptr;
    };
    std::array<CPCloudMng::PointBounds, tessara::kMaxWorkers> partBounds{};
    std::array<BadRecord, tessara::kMaxWorkers> bad{};
    CPCloudMng::CloudPoint* const points = group.m_points.data();
    const bool read = ar.ReadRecordsInParts(
        count, kGroupPointRecordBytes,
        [&](std::size_t part, std::uint64_t first, const std::uint8_t* p, std::size_t n) {
            CPCloudMng::PointBounds::Gatherer bounds(partBounds[part]);
            CPCloudMng::CloudPoint* dst = points + first;
            for (std::size_t k = 0; k < n; ++k, p += kGroupPointRecordBytes) {
                if (const char* reason = toPoint(DecodeGroupPointRecord(p), dst[k])) {
                    bad[part] = {first + k, reason};
                    return false;
                }
                bounds.Add(dst[k]);
            }
            bounds.Store(partBounds[part]);
            return true;
        });
    if (!read) {
        const BadRecord* firstBad = nullptr;
        for (const BadRecord& r : bad)
            if (r.reason != nullptr && (firstBad == nullptr || r.index < firstBad->index)) firstBad = &r;
        if (firstBad != nullptr) ar.Fail(firstBad->reason);
        return false;
    }
    CPCloudMng::PointBounds bounds;
    for (const auto& b : partBounds) bounds.Merge(b);
    group.CreateGrid(bounds);
    return true;
}
