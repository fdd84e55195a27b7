#include "viewer/files/HostDataFileReader.h"

#include "platform/Parallel.h"
#include "outside/StoreMarkers.h"
#include "viewer/files/FileFormatConstants.h"
#include "viewer/files/GroupPointRecords.h"
#include "viewer/files/HostDataContent.h"
#include "viewer/files/ModelArchive.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <new>
#include <cstring>
#include <sys/stat.h>

namespace {

constexpr std::uint64_t kPointBytes = 24;        // three doubles
constexpr std::uint64_t kFigureMinBytes = 21;    // type, attribute, colour, elevation, count
constexpr std::uint64_t kPartPointBytes = 28;
constexpr std::uint64_t kPartLineBytes = 12;

double UnsetIfNaN(double z) { return std::isnan(z) ? kUnsetDouble : z; }

}  // namespace

bool HostDataContent::AddsData() const
{
    return (hasCad && !figures.empty()) || (hasPart && (partPointCount > 0 || partLineCount > 0)) ||
           (hasViewCloud && viewCloud.GetCloudPointSize() > 0) || (hasGroup && group != nullptr);
}

HostDataFileReader::Result HostDataFileReader::Read(const std::string& path, HostDataContent& out)
{
    m_error.clear();
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        m_error = "the file does not exist";
        return Result::Missing;
    }
    ModelArchive ar = ModelArchive::ForLoadingFile(path);
    if (!ar.Ok()) {
        m_error = ar.FailureReason();
        return Result::CannotOpen;
    }
    std::uint32_t magic = 0;
    ar.U32(magic);
    if (!ar.Ok() || magic != fileformat::kArchiveMagic) {
        m_error = "the file is not a host data file";
        return Result::WrongMagic;
    }
    std::uint16_t version = 0;
    ar.U16(version);
    if (!ar.Ok() || version != fileformat::kHostFileVersion) {
        m_error = "the host data file has an unknown version";
        return Result::WrongVersion;
    }
    out.surveyTransform = m_transform;
    out.transformSet = m_transformSet;
    const bool ok = ReadHeader(ar, out) && (!(out.flags & fileformat::kHostCad) || ReadCad(ar, out)) &&
                    (!(out.flags & fileformat::kHostPart) || ReadPart(ar, out)) &&
                    (!(out.flags & fileformat::kHostViewCloud) || ReadViewCloud(ar, out)) &&
                    (!(out.flags & fileformat::kHostGroup) || ReadGroup(ar, out));
    if (!ok || !ar.Ok()) {
        m_error = ar.Ok() ? "the host data file is damaged" : ar.FailureReason();
        return Result::Damaged;
    }
    // Bytes after the last section are ignored.
    return Result::Ok;
}

void HostDataFileReader::LowerZMin(HostDataContent& out, double z) const
{
    if (IsUnsetValue(z) || !std::isfinite(z)) return;
    if (IsUnsetValue(out.zMin) || out.zMin > z) out.zMin = z;
}

bool HostDataFileReader::ReadHostPoint(ModelArchive& ar, const HostDataContent& out, double& x, double& y,
                                       double& z)
{
    ar.F64(x);
    ar.F64(y);
    ar.F64(z);
    if (!std::isfinite(x) || !std::isfinite(y)) {
        ar.Fail("a coordinate is not a number");
        return false;
    }
    z = UnsetIfNaN(z);
    out.surveyTransform.XY(&x, &y);
    return true;
}

bool HostDataFileReader::ReadHeader(ModelArchive& ar, HostDataContent& out)
{
    ar.I32(out.flags);
    ar.Skip(fileformat::kHostTransformBytes);  // the host's own transform: not used
    double x0 = 0, y0 = 0;
    ar.F64(x0);
    ar.F64(y0);
    for (auto& corner : m_rawCorners) {
        ar.F64(corner[0]);
        ar.F64(corner[1]);
    }
    if (!ar.Ok()) return false;
    bool finite = std::isfinite(x0) && std::isfinite(y0);
    for (const auto& corner : m_rawCorners) finite = finite && std::isfinite(corner[0]) && std::isfinite(corner[1]);
    if (!finite) {
        ar.Fail("a reference coordinate is not a number");
        return false;
    }
    const bool addGroupOnly = out.flags == fileformat::kHostAddGroupOnly;
    if (!addGroupOnly && !out.transformSet) {
        // The reference point maps to the origin: host (X, Y) -> (Y - Y0, X - X0).
        out.surveyTransform = MTRX();
        out.surveyTransform.Axis();
        out.surveyTransform.Move(-y0, -x0);
        out.transformSet = true;
        out.transformSetByFile = true;
    }
    if (!addGroupOnly) {
        for (int i = 0; i < 4; ++i) {
            double x = m_rawCorners[i][0], y = m_rawCorners[i][1];
            out.surveyTransform.XY(&x, &y);
            out.corners[i] = PT(x, y, kUnsetDouble);
        }
        out.cornersValid = true;
    }
    out.surveyReference = PT(x0, y0, kUnsetDouble);
    double rx = x0, ry = y0;
    out.surveyTransform.XY(&rx, &ry);
    out.reference = PT(rx, ry, kUnsetDouble);
    return true;
}

bool HostDataFileReader::ReadCad(ModelArchive& ar, HostDataContent& out)
{
    out.hasCad = true;
    ar.CountedString(out.cadText);
    std::int32_t n = 0;
    ar.I32(n);
    if (n <= 0) return ar.Ok();
    if (!ar.CountFits(n, kFigureMinBytes, "the figure count is larger than the file")) return false;
    out.figures.reserve(std::size_t(n));
    for (std::int32_t i = 0; i < n && ar.Ok(); ++i) {
        CElmData elm;
        ar.U8(elm.m_nKind);
        ar.I32(elm.m_nAttr);
        std::int32_t colour = 0;
        ar.I32(colour);
        elm.m_nColor = COLORREF(colour);
        ar.F64(elm.m_dZ);
        elm.m_dZ = UnsetIfNaN(elm.m_dZ);
        LowerZMin(out, elm.m_dZ);
        const auto readList = [&](std::vector<PT>& list) {
            std::int32_t count = 0;
            ar.I32(count);
            if (count <= 0) return ar.Ok();
            if (!ar.CountFits(count, kPointBytes, "a figure's point count is larger than the file")) return false;
            list.reserve(std::size_t(count));
            for (std::int32_t k = 0; k < count; ++k) {
                double x, y, z;
                if (!ReadHostPoint(ar, out, x, y, z)) return false;
                list.emplace_back(x, y, z);
            }
            return ar.Ok();
        };
        elm.m_ptLists.emplace_back();
        if (!readList(elm.m_ptLists[0])) return false;
        if (elm.m_nKind == CElmData::kKindExtraAttr) {
            ar.I32(elm.m_nAttr13[0]);
            ar.I32(elm.m_nAttr13[1]);
        }
        if (elm.m_nKind == CElmData::kKindTwoLists) {
            std::int32_t second = 0;
            ar.I32(second);
            if (second != 0) {
                elm.m_ptLists.emplace_back();
                if (!readList(elm.m_ptLists[1])) return false;
            }
        }
        elm.RebuildSegments();
        out.figures.push_back(std::move(elm));
    }
    return ar.Ok();
}

bool HostDataFileReader::ReadPart(ModelArchive& ar, HostDataContent& out)
{
    out.hasPart = true;
    std::int32_t points = 0;
    ar.I32(points);
    if (points > 0) {
        if (!ar.CountFits(points, kPartPointBytes, "the part point count is larger than the file")) return false;
        for (std::int32_t i = 0; i < points; ++i) {
            double x, y, z;
            if (!ReadHostPoint(ar, out, x, y, z)) return false;
            std::uint32_t colour = 0;
            ar.U32(colour);
            LowerZMin(out, z);
            if (IsUnsetValue(z)) {
                out.partPoint2D.AddCloudPoint(float(x), float(y), kNoElevationZ, colour, 0.0);
            } else {
                out.partPoint3D.AddCloudPoint(float(x), float(y), float(z), colour, 0.0);
            }
        }
        out.partPointCount = points;
    }
    std::int32_t vertices = 0;
    ar.I32(vertices);
    if (vertices > 0) {
        if (!ar.CountFits(vertices, kPointBytes, "the part vertex count is larger than the file")) return false;
        out.partVertex.ReserveVertex(std::size_t(vertices));
        for (std::int32_t i = 0; i < vertices; ++i) {
            double x, y, z;
            if (!ReadHostPoint(ar, out, x, y, z)) return false;
            LowerZMin(out, z);
            out.partVertex.AddVertex(float(x), float(y), IsUnsetValue(z) ? kNoElevationZ : float(z));
        }
    }
    std::int32_t lines = 0;
    ar.I32(lines);
    if (lines > 0) {
        if (!ar.CountFits(lines, kPartLineBytes, "the part line count is larger than the file")) return false;
        for (std::int32_t i = 0; i < lines; ++i) {
            std::int32_t a = 0, b = 0, value = 0;
            ar.I32(a);
            ar.I32(b);
            ar.I32(value);
            float ax, ay, az, bx, by, bz;
            if (a < 0 || b < 0 || out.partVertex.GetVertexVal(a, ax, ay, az) == 0 ||
                out.partVertex.GetVertexVal(b, bx, by, bz) == 0) {
                ar.Fail("a part line refers to a vertex that does not exist");
                return false;
            }
            const bool flat = IsNoElevation(az) || IsNoElevation(bz);
            CVertexMng& store = flat ? out.partLineVertex2D : out.partLineVertex3D;
            auto& list = flat ? out.partLine2D : out.partLine3D;
            store.AddVertex(ax, ay, az);
            store.AddVertex(bx, by, bz);
            // The line keeps its indices into the part vertex store; its list's own
            // vertex store gets both ends for drawing.
            list.push_back({a, b, std::uint32_t(value)});
        }
        out.partLineCount = lines;
    }
    if (out.partPoint3D.GetCloudPointSize() > 0) out.partPoint3D.CreateGrid();
    if (out.partPoint2D.GetCloudPointSize() > 0) out.partPoint2D.CreateGrid();
    return ar.Ok();
}

bool HostDataFileReader::ReadViewCloud(ModelArchive& ar, HostDataContent& out)
{
    out.hasViewCloud = true;
    std::int32_t count = 0;
    ar.I32(count);
    if (count <= 0) return ar.Ok();
    if (!ar.CountFits(count, kPointBytes, "the view cloud's point count is larger than the file")) return false;
    out.viewCloud.ReserveCloudPoint(std::size_t(count));
    for (std::int32_t i = 0; i < count; ++i) {
        double x, y, z;
        if (!ReadHostPoint(ar, out, x, y, z)) return false;
        LowerZMin(out, z);
        out.viewCloud.AddCloudPoint(float(x), float(y), IsUnsetValue(z) ? kNoElevationZ : float(z),
                                    fileformat::kViewCloudColour, 0.0);
    }
    return ar.Ok();
}

bool HostDataFileReader::ReadGroup(ModelArchive& ar, HostDataContent& out)
{
    out.hasGroup = true;
    ar.CountedString(out.groupName);
    std::int32_t count = 0;
    ar.I32(count);
    if (count <= 0) return ar.Ok();
    double xg = 0, yg = 0, zg = 0;
    ar.F64(xg);
    ar.F64(yg);
    ar.F64(zg);
    if (!ar.Ok()) return false;
    if (!std::isfinite(xg) || !std::isfinite(yg)) {
        ar.Fail("the group's reference point is not a number");
        return false;
    }
    if (!ar.CountFits(count, kGroupPointRecordBytes, "the group's point count is larger than the file")) return false;
    zg = UnsetIfNaN(zg);
    const bool addGroupOnly = out.flags == fileformat::kHostAddGroupOnly;
    if (addGroupOnly && !out.transformSet) {
        out.surveyTransform.Init();
        out.surveyTransform.Axis();
        out.surveyTransform.Move(-yg, -xg);
        out.transformSet = true;
        out.transformSetByFile = true;
    }
    if (addGroupOnly) {
        for (int i = 0; i < 4; ++i) {
            double x = m_rawCorners[i][0], y = m_rawCorners[i][1];
            out.surveyTransform.XY(&x, &y);
            out.corners[i] = PT(x, y, kUnsetDouble);
        }
        out.cornersValid = true;
    }
    out.surveyTransform.XY(&xg, &yg);
    LowerZMin(out, zg);
    if (!IsUnsetValue(out.zMin) && (IsUnsetValue(zg) || out.zMin < zg)) zg = out.zMin;
    out.groupCentre = PT(xg, yg, zg);

    auto group = std::make_unique<CPCloudMng>();
    const double* m = out.surveyTransform.m;
    const double m0 = m[0], m1 = m[1], m2 = m[2], m3 = m[3], m4 = m[4], m5 = m[5];
    const bool read = ReadGroupPointRecordsInParts(
        ar, *group, std::uint64_t(count), "there is not enough memory for the group's points",
        [&](const GroupPointRecord& r, CPCloudMng::CloudPoint& point) -> const char* {
            if (!std::isfinite(r.x) || !std::isfinite(r.y)) return "a coordinate is not a number";
            // The survey transform (MTRX::XY) written out.
            const float xf = float(m0 * r.x + m1 * r.y + m2), yf = float(m3 * r.x + m4 * r.y + m5);
            if (!std::isfinite(xf) || !std::isfinite(yf)) return "a coordinate is out of range";
            const float zf = std::isnan(r.z) || IsUnsetValue(r.z) ? float(kUnsetDouble) : float(r.z);
            point = {xf, yf, zf, r.colour, std::isfinite(r.intensity) ? r.intensity : 0.0};
            return nullptr;
        });
    if (!read) return false;
    group->m_nDataFlag = 1;
    out.group = std::move(group);
    return true;
}
