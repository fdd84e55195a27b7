#include "viewer/files/LasDump.h"

#include "outside/CModelDataMng.h"
#include "platform/AtomicFileWriter.h"
#include "platform/Files.h"
#include "platform/WriteBehind.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
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

struct Walk {
    const CModelDataMng& store;
    Position at;
    std::int64_t limit;
    bool done = false;

    // Calls visit(x, y, z, colour, intensity) for every readable point of the dump.
    template <class Visit>
    void Run(Visit&& visit)
    {
        std::int64_t walked = 0;
        const std::int64_t groups = store.GetGroupCount();
        for (; at.group < groups; ++at.group, at.point = 0) {
            const CPCloudMng* g = store.GetGroup(at.group);
            if (g == nullptr || !g->IsShownForPoints()) continue;
            const std::int64_t n = g->GetCloudPointSize();
            for (; at.point < n; ++at.point) {
                if (limit > 0 && walked == limit) return;
                ++walked;
                float x = 0, y = 0, z = 0;
                COLORREF colour = 0;
                double intensity = 0;
                if (g->GetCloudPointVal(at.point, x, y, z, colour, intensity)) visit(x, y, z, colour, intensity);
            }
        }
        done = true;
    }
};

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
    // One walk: the records are made in blocks of a bounded size, written on a
    // second thread while the next ones are made, and the count and the bounds over
    // the converted coordinates are gathered on the way; the header, a placeholder
    // at first, is filled in at the end.
    double lo[3] = {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(),
                    std::numeric_limits<double>::infinity()};
    double hi[3] = {-lo[0], -lo[1], -lo[2]};
    std::int64_t count = 0;
    // Never more than one dump holds (a limit of none still stops one past it).
    Walk walk{store, at, limit > 0 ? limit : kMaxPointsPerFile + 1};
    const auto produce = [&](tessara::BlockSink& sink) {
        std::memset(sink.Append(kHeaderBytes), 0, kHeaderBytes);
        walk.Run([&](float x, float y, float z, COLORREF colour, double intensity) {
            double px = x, py = y;
            toSurvey.XY(&px, &py);
            const double v[3] = {px, py, static_cast<double>(z)};
            for (int d = 0; d < 3; ++d) {
                lo[d] = std::min(lo[d], v[d]);
                hi[d] = std::max(hi[d], v[d]);
            }
            const std::int32_t rgb[3] = {static_cast<std::int32_t>(colour & 0xFF),
                                         static_cast<std::int32_t>((colour >> 8) & 0xFF),
                                         static_cast<std::int32_t>((colour >> 16) & 0xFF)};
            unsigned char* record = sink.Append(kRecordBytes);
            std::memcpy(record, v, 24);
            std::memcpy(record + 24, rgb, 12);
            std::memcpy(record + 36, &intensity, 8);
            ++count;
        });
        return true;
    };
    bool ok = tessara::WriteBehind(kBlockRecords * kRecordBytes, produce,
                                   [&](const unsigned char* data, std::size_t size) { return out.Write(data, size); });
    const Position next = walk.at;
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
    ok = ok && out.WriteAt(0, header.data(), used) && out.CommitUnsynced();
    if (!ok) {
        result.error = "cannot write " + path;
        return result;
    }
    at = next;
    result.written = true;
    result.points = count;
    return result;
}

} // namespace lasdump
