#include "viewer/files/HostPolygonFile.h"

#include "platform/Files.h"
#include "viewer/files/FileFormatConstants.h"
#include "viewer/files/ModelArchive.h"

#include <cmath>

namespace {

constexpr std::uint64_t kTransformRecordBytes = 74;
constexpr std::uint64_t kPointBytes = 28;
constexpr std::uint64_t kSegmentBytes = 52;
constexpr std::uint64_t kPolygonMinBytes = 2 + 4;
constexpr std::uint64_t kVertexBytes = 24;

bool ReadPt(ModelArchive& ar, PT& pt, bool withZ)
{
    ar.F64(pt.X());
    ar.F64(pt.Y());
    if (withZ) ar.F64(pt.Z());
    if (!ar.Ok()) return false;
    if (!pt.IsFinite()) {
        ar.Fail("a coordinate that is not finite");
        return false;
    }
    return true;
}

// Reads a count that may be 0 or less (none) and checks that many records of at
// least bytesEach can follow.
std::int64_t Count(ModelArchive& ar, std::uint64_t bytesEach, const char* what)
{
    std::int32_t count = 0;
    ar.I32(count);
    if (!ar.Ok() || count <= 0) return 0;
    return ar.CountFits(count, bytesEach, what) ? count : 0;
}

} // namespace

HostPolygonFile::Result HostPolygonFile::Read(const std::string& path, HostPolygonContent& out, std::string* error)
{
    out = HostPolygonContent{};
    const auto fail = [&](Result r, const std::string& why) {
        out = HostPolygonContent{};
        if (error) *error = why;
        return r;
    };
    if (!tessara::FileExists(path)) return fail(Result::Missing, "no such file");
    ModelArchive ar = ModelArchive::ForLoadingFile(path);
    if (!ar.Ok()) return fail(Result::CannotOpen, "cannot open the file");
    std::uint32_t magic = 0;
    ar.U32(magic);
    if (!ar.Ok() || magic != fileformat::kArchiveMagic) return fail(Result::WrongMagic, "not a host file");
    std::uint16_t version = 0;
    ar.U16(version);
    if (!ar.Ok() || version != fileformat::kHostFileVersion) return fail(Result::WrongVersion, "unknown version");
    ar.Skip(kTransformRecordBytes);
    ar.F64(out.originA);
    ar.F64(out.originB);
    if (ar.Ok() && (!std::isfinite(out.originA) || !std::isfinite(out.originB))) ar.Fail("an origin that is not finite");
    for (PT& corner : out.corners) {
        if (!ReadPt(ar, corner, false)) break;
        corner.Z(1e-16);
    }
    const std::int64_t points = ar.Ok() ? Count(ar, kPointBytes, "points") : 0;
    out.points.reserve(static_cast<std::size_t>(points));
    for (std::int64_t i = 0; i < points && ar.Ok(); ++i) {
        HostPolygonContent::Point p;
        if (!ReadPt(ar, p.pt, true)) break;
        ar.U32(p.colour);
        out.points.push_back(p);
    }
    const std::int64_t segments = ar.Ok() ? Count(ar, kSegmentBytes, "segments") : 0;
    out.segments.reserve(static_cast<std::size_t>(segments));
    for (std::int64_t i = 0; i < segments && ar.Ok(); ++i) {
        HostPolygonContent::Segment s;
        if (!ReadPt(ar, s.from, true) || !ReadPt(ar, s.to, true)) break;
        ar.U32(s.colour);
        out.segments.push_back(s);
    }
    const std::int64_t polygons = ar.Ok() ? Count(ar, kPolygonMinBytes, "polygons") : 0;
    for (std::int64_t i = 0; i < polygons && ar.Ok(); ++i) {
        std::uint16_t m = 0;
        ar.U16(m);
        if (!ar.Ok() || !ar.CountFits(m, kVertexBytes, "polygon vertices")) break;
        HostPolygonContent::Polygon polygon;
        for (std::uint16_t k = 0; k < m; ++k) {
            PT vertex;
            if (!ReadPt(ar, vertex, true)) break;
            polygon.poly.Add(vertex);
        }
        ar.U32(polygon.colour);
        if (ar.Ok()) out.polygons.push_back(std::move(polygon));
    }
    // The records the file announces are all there; what follows them is counted
    // for the log, never read as more records.
    if (ar.Ok()) out.bytesAfterLastPolygon = ar.Remaining();
    if (!ar.Ok()) return fail(Result::Damaged, ar.FailureReason().empty() ? "the file ends early" : ar.FailureReason());
    return Result::Ok;
}
