#include "viewer/files/LasDump.h"

#include "outside/CModelDataMng.h"
#include "platform/AtomicFileWriter.h"
#include "platform/Files.h"
#include "platform/Parallel.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

namespace lasdump {
namespace {

constexpr double kScaleStep = 0.0001;
constexpr double kInt32Min = -2147483648.0;
constexpr double kInt32Max = 2147483647.0;
constexpr std::int64_t kMaxPointsPerFile = 2147483647;
constexpr std::size_t kHeaderBytes = 0x6A;
constexpr std::size_t kRecordBytes = 44;
#ifdef TESSARA_SMALL_READ_BUFFERS
constexpr std::size_t kBlockRecords = 4;   // test builds: small dumps span several blocks
#else
constexpr std::size_t kBlockRecords = 32768;   // about 1.4 MB
#endif

bool Fits(double value, double offset, double scale)
{
    const double q = std::trunc((value - offset) / scale);
    return q >= kInt32Min && q <= kInt32Max;
}

// The smallest multiple of the step with every value fitting: worked out directly
// (a stray coordinate far away needs millions of steps), then settled by a step or
// two against rounding.
double SmallestScale(std::initializer_list<double> values, double offset)
{
    double span = 0.0;
    for (double v : values) span = std::max(span, std::fabs(v - offset));
    double steps = std::max(1.0, std::ceil(span / kInt32Max / kScaleStep));
    const auto fitsAll = [&](double s) {
        return std::all_of(values.begin(), values.end(), [&](double v) { return Fits(v, offset, s); });
    };
    while (steps > 1.0 && fitsAll((steps - 1.0) * kScaleStep)) steps -= 1.0;
    while (!fitsAll(steps * kScaleStep)) steps += 1.0;
    return steps * kScaleStep;
}

// One shown group's stretch of a dump, and where it starts among the dump's walked points.
struct Stretch {
    const CPCloudMng* group = nullptr;
    std::int64_t begin = 0;
    std::int64_t end = 0;
    std::int64_t first = 0;
};

// The points a dump takes from `at` on, at most `limit` walked (readable or not),
// without reading them: the stretches, where the next dump starts, and whether the
// walk passed the store's last group.
struct Walk {
    std::vector<Stretch> stretches;
    std::int64_t walked = 0;
    Position next;
    bool done = false;
};

Walk PlanWalk(const CModelDataMng& store, Position at, std::int64_t limit)
{
    Walk walk;
    const std::int64_t groups = store.GetGroupCount();
    for (; at.group < groups; ++at.group, at.point = 0) {
        const CPCloudMng* g = store.GetGroup(at.group);
        if (g == nullptr || !g->IsShownForPoints()) continue;
        const std::int64_t n = g->GetCloudPointSize();
        if (at.point < n && walk.walked == limit) {
            walk.next = at;
            return walk;
        }
        const std::int64_t take = std::min(n - at.point, limit - walk.walked);
        if (take > 0) {
            walk.stretches.push_back({g, at.point, at.point + take, walk.walked});
            walk.walked += take;
            at.point += take;
        }
        if (at.point < n) {
            walk.next = at;
            return walk;
        }
    }
    walk.next = at;
    walk.done = true;
    return walk;
}

struct Bounds {
    double lo[3] = {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(),
                    std::numeric_limits<double>::infinity()};
    double hi[3] = {-lo[0], -lo[1], -lo[2]};

    // The first of equal values stays (0 before -0), as one pass in order keeps it.
    void Take(const double* v)
    {
        for (int d = 0; d < 3; ++d) {
            lo[d] = std::min(lo[d], v[d]);
            hi[d] = std::max(hi[d], v[d]);
        }
    }
    void Take(const Bounds& later)
    {
        for (int d = 0; d < 3; ++d) {
            lo[d] = std::min(lo[d], later.lo[d]);
            hi[d] = std::max(hi[d], later.hi[d]);
        }
    }
};

// Makes the records of walked points [from, to) into `records`; returns how many
// (points the store cannot read are passed over).
std::size_t MakeRecords(const Walk& walk, const MTRX& toSurvey, std::int64_t from, std::int64_t to,
                        unsigned char* records, Bounds& bounds)
{
    std::size_t made = 0;
    auto s = std::upper_bound(walk.stretches.begin(), walk.stretches.end(), from,
                              [](std::int64_t i, const Stretch& t) { return i < t.first; }) - 1;
    for (; from < to; ++s) {
        const std::int64_t begin = s->begin + (from - s->first);
        const std::int64_t end = std::min(s->end, begin + (to - from));
        for (std::int64_t i = begin; i < end; ++i) {
            float x = 0, y = 0, z = 0;
            COLORREF colour = 0;
            double intensity = 0;
            if (!s->group->GetCloudPointVal(i, x, y, z, colour, intensity)) continue;
            double px = x, py = y;
            toSurvey.XY(&px, &py);
            const double v[3] = {px, py, static_cast<double>(z)};
            bounds.Take(v);
            const std::int32_t rgb[3] = {static_cast<std::int32_t>(colour & 0xFF),
                                         static_cast<std::int32_t>((colour >> 8) & 0xFF),
                                         static_cast<std::int32_t>((colour >> 16) & 0xFF)};
            unsigned char* record = records + made * kRecordBytes;
            std::memcpy(record, v, 24);
            std::memcpy(record + 24, rgb, 12);
            std::memcpy(record + 36, &intensity, 8);
            ++made;
        }
        from += end - begin;
    }
    return made;
}

} // namespace

std::int64_t PointsPerFile(int mode, std::int64_t megabytes, std::int64_t pointUnits, bool lazTarget)
{
    if (lazTarget) return kNoLimit;
    std::int64_t points = kNoLimit;
    if (mode == 1 && megabytes > 0) {
        // Bytes that fit after the 227-byte header, in 26-byte records.
        const std::int64_t bytes = std::min<std::int64_t>(megabytes, std::int64_t{1} << 40) * 1048576;
        points = (bytes - 227) / 26 + 1;
    } else if (mode == 2 && pointUnits > 0) {
        points = std::min<std::int64_t>(pointUnits, std::int64_t{1} << 40) * 10000;
    }
    return std::min(points, kMaxPointsPerFile);
}

std::optional<AxisScale> CentredScale(double min, double max)
{
    if (!std::isfinite(min) || !std::isfinite(max)) return std::nullopt;
    AxisScale a;
    a.offset = min + (max - min) * 0.5;
    if (!std::isfinite(a.offset)) return std::nullopt;
    a.scale = SmallestScale({min, max}, a.offset);
    return a;
}

std::optional<AxisScale> BaseScale(double min, double max)
{
    if (!std::isfinite(min) || !std::isfinite(max) || !std::isfinite(max - min)) return std::nullopt;
    AxisScale a;
    a.offset = min;
    a.scale = SmallestScale({min, max}, min);
    return a;
}

DumpResult WriteDump(const std::string& path, const CModelDataMng& store, const MTRX& toSurvey, Position& at,
                     std::int64_t limit)
{
    DumpResult result;
    tessara::AtomicFileWriter out(path);
    if (!out.Open()) {
        result.error = "cannot create " + path;
        return result;
    }
    // The walk is planned first; its points are then made into records in blocks
    // on every worker and the blocks written in order, one stream, while the next
    // ones are made. The bounds are gathered per block and taken together in order,
    // so they come out as one pass in order gives them; the header, a placeholder at
    // first, is filled in at the end.
    // Never more than one dump holds (a limit of none still stops one past it).
    const Walk walk = PlanWalk(store, at, limit > 0 ? limit : kMaxPointsPerFile + 1);
    const std::size_t blocks = static_cast<std::size_t>((walk.walked + std::int64_t(kBlockRecords) - 1) /
                                                        std::int64_t(kBlockRecords));
    std::vector<Bounds> blockBounds(blocks);
    std::uint64_t filled = 0;
    const unsigned char placeholder[kHeaderBytes] = {};
    bool ok = out.Write(placeholder, kHeaderBytes);
    ok = ok && tessara::MakeInOrder(
                   blocks, kBlockRecords * kRecordBytes,
                   [&](std::size_t b, unsigned char* records) -> std::optional<std::size_t> {
                       const std::int64_t from = std::int64_t(b * kBlockRecords);
                       const std::int64_t to = std::min(walk.walked, from + std::int64_t(kBlockRecords));
                       return MakeRecords(walk, toSurvey, from, to, records, blockBounds[b]) * kRecordBytes;
                   },
                   [&](std::size_t, const unsigned char* records, std::size_t bytes) {
                       filled += bytes;
                       return out.Write(records, bytes);
                   });
    Bounds bounds;
    for (const Bounds& b : blockBounds) bounds.Take(b);
    const auto& lo = bounds.lo;
    const auto& hi = bounds.hi;
    const std::int64_t count = std::int64_t(filled / kRecordBytes);
    const Position next = walk.next;
    result.done = walk.done;
    if (count == 0) {
        out.Discard();
        at = next;
        return result;
    }
    if (count > kMaxPointsPerFile || (limit <= 0 && !walk.done)) {
        result.error = "more points than one dump holds";
        return result;
    }
    const auto sx = CentredScale(lo[0], hi[0]);
    const auto sy = CentredScale(lo[1], hi[1]);
    const auto sz = BaseScale(lo[2], hi[2]);
    if (!sx || !sy || !sz) {
        result.error = "the points' bounds are not finite";
        at = next;
        return result;
    }
    std::vector<unsigned char> header(kHeaderBytes);
    std::size_t used = 0;
    const auto put = [&](const auto& value) {
        std::memcpy(header.data() + used, &value, sizeof value);
        used += sizeof value;
    };
    put(std::uint32_t{0x40474C56});
    put(std::uint16_t{0x0100});
    put(static_cast<std::int32_t>(count));
    for (double v : lo) put(v);
    for (double v : hi) put(v);
    for (const AxisScale* a : {&*sx, &*sy, &*sz}) put(a->scale);
    for (const AxisScale* a : {&*sx, &*sy, &*sz}) put(a->offset);
    // A scratch file the converter reads at once and the export deletes: complete
    // under its name or absent, but not worth a sync to disk.
    if (!ok || !out.WriteAt(0, header.data(), used) || !out.CommitUnsynced()) {
        result.error = "cannot write " + path;
        return result;
    }
    at = next;
    result.written = true;
    result.points = count;
    return result;
}

} // namespace lasdump
