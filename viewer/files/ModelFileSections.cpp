#include "viewer/files/ModelFileSections.h"

#include "outside/CElmData.h"
#include "outside/CModelDataMng.h"
#include "outside/MTRX.h"
#include "platform/Parallel.h"
#include "outside/StoreMarkers.h"
#include "viewer/files/FileFormatConstants.h"
#include "viewer/files/GroupPointRecords.h"
#include "viewer/files/ModelArchive.h"
#include "viewer/files/SceneFrame.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <new>
#include <cstring>
#include <memory>

namespace {

using namespace fileformat;

// Smallest sizes of records, so a count can be bounded by the bytes left.
constexpr std::uint64_t kGroupRecordMinBytes = 18;     // values and count, no header
constexpr std::uint64_t kTriangleBytes = 12;
constexpr std::uint64_t kFloatPointBytes = 12;
constexpr std::uint64_t kFigureMinBytes = 21;
constexpr std::uint64_t kPoint3Bytes = 24;
constexpr std::uint64_t kPartPointBytes = 16;
constexpr std::uint64_t kPartLineBytes = 12;
constexpr std::uint64_t kViewCloudPointBytes = 24;
constexpr int kDisplaySwitchesOld = 8;

std::uint16_t Effective(std::uint16_t version)
{
    // 0x0103 is read exactly as 0x0102 (only where it stops differs).
    return version == kModelVersion0103 ? kModelVersion0102 : version;
}

float UnsetIfNaN(float z) { return std::isnan(z) ? float(kUnset) : z; }

bool Finite(ModelArchive& ar, double x, double y)
{
    if (std::isfinite(x) && std::isfinite(y)) return true;
    ar.Fail("a coordinate is not a number");
    return false;
}

// The count of group records that leads a group section: storing, the groups the
// store holds; loading, as read, bounded by the bytes left at `minBytes` a record.
bool GroupRecordCount(ModelArchive& ar, const CModelDataMng& store, std::uint64_t minBytes, std::int32_t& count)
{
    count = 0;
    if (ar.IsStoring()) {
        for (const auto& g : store.m_groups) count += g ? 1 : 0;
    }
    ar.I32(count);
    return ar.CountFits(count, minBytes, "the group count is larger than the file");
}

}  // namespace

void ModelFileSections::Serialize(ModelArchive& ar, CModelDataMng& store, ModelViewState& state,
                                  std::uint16_t flags, std::uint16_t version)
{
    const std::uint16_t v = Effective(version);
    for (float& c : state.rotationCentre) ar.F32(c);
    if (ar.IsLoading()) state.rotationCentreSet = true;
    Frame(ar, state.frame);
    if (v >= kModelVersion0102) {
        ar.I32(store.m_nShowRoot);
    } else {
        store.m_nShowRoot = 1;
    }
    if (flags & kGroupPoints) GroupPoints(ar, store, state, v);
    if (flags & kGroupTins) GroupTins(ar, store, state, v);
    if (flags & kCadFigures) CadFigures(ar, store, v);
    if (flags & kPartDrawing) PartDrawing(ar, store, v);
    if (flags & kViewCloud) ViewCloud(ar, store, v);
    if ((flags & kCadTin) && v >= kModelVersion0102) CadTin(ar, store);
    if (!ar.Ok()) return;
    if (ar.IsLoading() && version == kModelVersion0103) return;
    DisplaySwitches(ar, state, v);
    if (ar.IsLoading() && ar.Remaining() == 0) return;
    TexturePlacement(ar, state);
    if (ar.IsLoading()) state.hasTexturePlacement = ar.Ok();
    if (flags & kStructures) Structures(ar, store);
}

void ModelFileSections::Matrix(ModelArchive& ar, MTRX& m)
{
    for (double& d : m.m) ar.F64(d);
    ar.U16(m.m_axis);
    if (ar.IsLoading()) {
        for (double d : m.m) {
            if (!std::isfinite(d)) {
                ar.Fail("a transform holds a value that is not a number");
                return;
            }
        }
    }
}

void ModelFileSections::Point3(ModelArchive& ar, double& x, double& y, double& z)
{
    ar.F64(x);
    ar.F64(y);
    ar.F64(z);
}

void ModelFileSections::Frame(ModelArchive& ar, SceneFrame& f)
{
    for (PT& c : f.corners) Point3(ar, c.X(), c.Y(), c.Z());
    ar.I32(f.cornersSet);
    ar.I32(f.transformSet);
    ar.F64(f.value1);
    ar.F64(f.value2);
    ar.F64(f.baseElevation);
    ar.F64(f.value3);
    Matrix(ar, f.surveyTransform);
    ar.Bytes(f.tinBaseColour.data(), f.tinBaseColour.size());
    Matrix(ar, f.sectionTransform);
    for (std::int32_t& value : f.values4to7) ar.I32(value);
    ar.I16(f.value8);
    ar.I16(f.pointRenderMode);
    ar.I32(f.baseElevationMode);
    ar.I32(f.value9);
    ar.Bytes(f.value10.data(), f.value10.size());
    if (ar.IsLoading() && std::isnan(f.baseElevation)) f.baseElevation = kUnset;
}

void ModelFileSections::GroupHeader(ModelArchive& ar, CPCloudMng& group, bool tinSection, std::uint16_t version,
                                    int index)
{
    if (version < kModelVersion0102) {
        group.m_name.clear();
        group.m_nShowGroup = 1;
        (tinSection ? group.m_nShowTin : group.m_nShowPCloud) = 1;
        return;
    }
    ar.CountedString(group.m_name);
    ar.I32(group.m_nNameNumber);
    if (version >= kModelVersionCurrent) {
        ar.Text256(group.m_memo);
        ar.U32(group.m_nColor);
    } else if (ar.IsLoading()) {
        group.m_memo.clear();
        group.m_nColor = CModelDataMng::GetDefPointCloudGroupCol(std::uint16_t(index));
    }
    ar.I32(group.m_nShowGroup);
    ar.I32(tinSection ? group.m_nShowTin : group.m_nShowPCloud);
}

void ModelFileSections::GroupPoints(ModelArchive& ar, CModelDataMng& store, ModelViewState& state,
                                    std::uint16_t version)
{
    std::int32_t count = 0;
    if (!GroupRecordCount(ar, store, kGroupRecordMinBytes, count)) return;
    state.groupPointRecords = count;
    int record = 0;
    for (int i = 0; ar.Ok() && record < count; ++i) {
        CPCloudMng* group = ar.IsStoring() ? store.GetGroup(i) : nullptr;
        if (ar.IsStoring() && group == nullptr) continue;
        if (ar.IsLoading()) {
            store.AddGroup(std::make_unique<CPCloudMng>());
            group = store.GetGroup(i);
        }
        GroupHeader(ar, *group, false, version, record);
        ar.I32(group->m_nValue1);
        ar.I32(group->m_nDataFlag);
        ar.I32(group->m_nValue3);
        ar.I16(group->m_nValue4);
        std::int32_t points = group->GetCloudPointSize();
        ar.I32(points);
        if (ar.IsStoring()) {
            for (const auto& p : group->m_points) {
                double x = p.x, y = p.y, z = p.z, intensity = p.intensity;
                std::uint32_t colour = p.colour;
                Point3(ar, x, y, z);
                ar.U32(colour);
                ar.F64(intensity);
            }
        } else if (ar.CountFits(points, kGroupPointRecordBytes, "a group's point count is larger than the file")) {
            group->DeleteCloudPointAll();
            if (!ReadGroupPointRecords(ar, *group, points)) return;
        }
        ++record;
    }
}

bool ModelFileSections::ReadGroupPointRecords(ModelArchive& ar, CPCloudMng& group, std::int32_t count)
{
    if (count <= 0) return ar.Ok();
    const auto toPoint = [](const GroupPointRecord& r, CPCloudMng::CloudPoint& point) -> const char* {
        const float xf = float(r.x), yf = float(r.y);
        if (!std::isfinite(xf) || !std::isfinite(yf)) return "a coordinate is not a number";
        point = {xf, yf, std::isnan(r.z) ? float(kUnset) : float(r.z), r.colour,
                 std::isfinite(r.intensity) ? r.intensity : 0.0};
        return nullptr;
    };
    if (ReadGroupPointRecordsInParts(ar, group, std::uint64_t(count), "there is not enough memory for a group's points",
                                     toPoint))
        return ar.Ok();
    group.m_points.clear();
    return false;
}

void ModelFileSections::TinBody(ModelArchive& ar, CVertexMng& tin)
{
    std::int32_t triangles = tin.GetTriangleCount();
    ar.I32(triangles);
    if (ar.IsStoring()) {
        for (auto& t : tin.m_triangles) {
            for (std::uint32_t& corner : t.m_idx) ar.U32(corner);
        }
    } else {
        if (!ar.CountFits(triangles, kTriangleBytes, "a triangle count is larger than the file")) return;
        tin.ClearVertex();
        tin.m_triangles.reserve(std::size_t(triangles));
        for (std::int32_t k = 0; k < triangles; ++k) {
            std::uint32_t a = 0, b = 0, c = 0;
            ar.U32(a);
            ar.U32(b);
            ar.U32(c);
            tin.m_triangles.emplace_back(a, b, c);
        }
        tin.TinChanged();
    }
    Vertices(ar, tin);
    if (ar.IsStoring() || !ar.Ok()) return;
    const auto vertices = std::uint32_t(tin.GetVertexSize());
    for (const auto& t : tin.m_triangles) {
        for (std::uint32_t corner : t.m_idx) {
            if (corner >= vertices) {
                ar.Fail("a triangle refers to a vertex that does not exist");
                return;
            }
        }
    }
}

void ModelFileSections::Vertices(ModelArchive& ar, CVertexMng& store)
{
    std::int32_t vertices = store.GetVertexSize();
    ar.I32(vertices);
    if (ar.IsStoring()) {
        for (auto& vx : store.m_vertices) StoredFloatPoint(ar, vx.x, vx.y, vx.z);
        return;
    }
    if (!ar.CountFits(vertices, kFloatPointBytes, "a vertex count is larger than the file")) return;
    store.ReserveVertex(std::size_t(vertices));
    for (std::int32_t k = 0; k < vertices && ar.Ok(); ++k) {
        float x, y, z;
        StoredFloatPoint(ar, x, y, z);
        if (!Finite(ar, x, y)) return;
        store.AddVertex(x, y, UnsetIfNaN(z));
    }
    if (vertices > 0 && ar.Ok()) store.CVertexMng::CreateGrid();
}

void ModelFileSections::StoredFloatPoint(ModelArchive& ar, float& x, float& y, float& z)
{
    ar.F32(x);
    ar.F32(y);
    ar.F32(z);
}

void ModelFileSections::GroupTins(ModelArchive& ar, CModelDataMng& store, ModelViewState& state,
                                  std::uint16_t version)
{
    std::int32_t count = 0;
    if (!GroupRecordCount(ar, store, 16, count)) return;
    state.groupTinRecords = count;
    int record = 0;
    for (int i = 0; ar.Ok() && record < count; ++i) {
        CPCloudMng* group = store.GetGroup(i);
        if (ar.IsStoring() && group == nullptr) continue;
        if (ar.IsLoading() && group == nullptr) {
            // A snapshot of TINs only: the group itself stays the view's own.
            store.AddGroup(std::make_unique<CPCloudMng>());
            group = store.GetGroup(i);
        }
        GroupHeader(ar, *group, true, version, record);
        ar.I32(group->m_tinValue1);
        ar.I32(group->m_tinValue2);
        TinBody(ar, *group);
        ++record;
    }
}

void ModelFileSections::Figure(ModelArchive& ar, CElmData& figure, bool withExtras)
{
    ar.U8(figure.m_nKind);
    ar.I32(figure.m_nAttr);
    ar.U32(figure.m_nColor);
    ar.F64(figure.m_dZ);
    if (ar.IsLoading() && std::isnan(figure.m_dZ)) figure.m_dZ = kUnset;
    if (ar.IsLoading()) figure.m_ptLists.assign(1, {});
    const auto list = [&](std::vector<PT>& points) {
        std::int32_t n = std::int32_t(points.size());
        ar.I32(n);
        if (ar.IsStoring()) {
            for (PT& p : points) Point3(ar, p.X(), p.Y(), p.Z());
            return;
        }
        if (!ar.CountFits(n, kPoint3Bytes, "a figure's point count is larger than the file")) return;
        points.reserve(std::size_t(n));
        for (std::int32_t k = 0; k < n; ++k) {
            double x, y, z;
            Point3(ar, x, y, z);
            if (!Finite(ar, x, y)) return;
            points.emplace_back(x, y, std::isnan(z) ? kUnset : z);
        }
    };
    if (ar.IsStoring() && figure.m_ptLists.empty()) {
        std::vector<PT> none;
        list(none);
    } else {
        list(figure.m_ptLists[0]);
    }
    if (withExtras && figure.m_nKind == CElmData::kKindExtraAttr) {
        ar.I32(figure.m_nAttr13[0]);
        ar.I32(figure.m_nAttr13[1]);
    }
    if (withExtras && figure.m_nKind == CElmData::kKindTwoLists) {
        std::int32_t present = figure.m_ptLists.size() > 1 && !figure.m_ptLists[1].empty() ? 1 : 0;
        ar.I32(present);
        if (present != 0) {
            if (ar.IsLoading()) figure.m_ptLists.emplace_back();
            list(figure.m_ptLists[1]);
        }
    }
    if (ar.IsLoading() && ar.Ok()) {
        figure.RebuildSegments();
        figure.m_nKind31Marker = figure.m_nKind == CElmData::kKindMarked ? 1 : 0;
    }
}

void ModelFileSections::CadFigures(ModelArchive& ar, CModelDataMng& store, std::uint16_t version)
{
    std::array<std::int32_t, CModelDataMng::kCadLayerCount> layerShown{};
    layerShown.fill(1);
    if (version >= kModelVersion0102) {
        ar.CountedString(store.m_cadName);
        ar.I32(store.m_nShowCAD);
        std::uint64_t layers = CModelDataMng::kCadLayerCount;
        ar.U64(layers);
        if (ar.IsLoading() && (layers > std::uint64_t(INT64_MAX) ||
                               !ar.CountFits(std::int64_t(layers), 4, "the layer count is larger than the file")))
            return;
        for (std::uint64_t i = 0; i < layers && ar.Ok(); ++i) {
            std::int32_t shown = i < layerShown.size() ? store.m_cadLayers[i].show : 0;
            ar.I32(shown);
            if (i < layerShown.size()) layerShown[i] = shown;
        }
    } else {
        store.m_cadName.clear();
        store.m_nShowCAD = 1;
    }
    std::int32_t count = std::int32_t(store.m_elmList.size());
    ar.I32(count);
    if (ar.IsStoring()) {
        for (CElmData& figure : store.m_elmList) Figure(ar, figure, true);
        return;
    }
    if (!ar.CountFits(count, kFigureMinBytes, "the figure count is larger than the file")) return;
    store.m_elmList.reserve(std::size_t(count));
    for (std::int32_t i = 0; i < count && ar.Ok(); ++i) {
        CElmData figure;
        Figure(ar, figure, true);
        store.m_elmList.push_back(std::move(figure));
    }
    store.RebuildCadLayers();
    for (std::size_t i = 0; i < layerShown.size(); ++i) store.m_cadLayers[i].show = layerShown[i];
}

void ModelFileSections::PartDrawing(ModelArchive& ar, CModelDataMng& store, std::uint16_t version)
{
    if (version >= kModelVersion0102) {
        ar.I32(store.m_nShowPart);
        ar.I32(store.m_nShowPartLn);
        ar.I32(store.m_nShowPartPt);
    } else {
        store.m_nShowPart = store.m_nShowPartLn = store.m_nShowPartPt = 1;
    }
    std::int32_t points = store.m_partPoint3D.GetCloudPointSize() + store.m_partPoint2D.GetCloudPointSize();
    ar.I32(points);
    if (ar.IsStoring()) {
        for (CPCloudMng* cloud : {&store.m_partPoint3D, &store.m_partPoint2D}) {
            for (auto& p : cloud->m_points) {
                StoredFloatPoint(ar, p.x, p.y, p.z);
                ar.U32(p.colour);
            }
        }
    } else if (ar.CountFits(points, kPartPointBytes, "the part point count is larger than the file")) {
        for (std::int32_t k = 0; k < points; ++k) {
            float x, y, z;
            std::uint32_t colour;
            StoredFloatPoint(ar, x, y, z);
            ar.U32(colour);
            if (!Finite(ar, x, y)) return;
            CPCloudMng& cloud = IsNoElevation(z) ? store.m_partPoint2D : store.m_partPoint3D;
            cloud.AddCloudPoint(x, y, UnsetIfNaN(z), colour, 0.0);
        }
    }
    Vertices(ar, store.m_partVertex);
    std::int32_t lines = std::int32_t(store.m_partLine3D.size() + store.m_partLine2D.size());
    ar.I32(lines);
    if (ar.IsStoring()) {
        for (auto* list : {&store.m_partLine3D, &store.m_partLine2D}) {
            for (auto& line : *list) {
                std::uint32_t a = std::uint32_t(line.v1), b = std::uint32_t(line.v2);
                ar.U32(a);
                ar.U32(b);
                ar.U32(line.value);
            }
        }
        return;
    }
    if (!ar.CountFits(lines, kPartLineBytes, "the part line count is larger than the file")) return;
    for (std::int32_t k = 0; k < lines; ++k) {
        std::uint32_t a = 0, b = 0, value = 0;
        ar.U32(a);
        ar.U32(b);
        ar.U32(value);
        float ax, ay, az, bx, by, bz;
        if (store.m_partVertex.GetVertexVal(a, ax, ay, az) == 0 || store.m_partVertex.GetVertexVal(b, bx, by, bz) == 0) {
            ar.Fail("a part line refers to a vertex that does not exist");
            return;
        }
        const bool flat = IsNoElevation(az) || IsNoElevation(bz);
        (flat ? store.m_partLineVertex2D : store.m_partLineVertex3D).AddVertex(ax, ay, az);
        (flat ? store.m_partLineVertex2D : store.m_partLineVertex3D).AddVertex(bx, by, bz);
        (flat ? store.m_partLine2D : store.m_partLine3D).push_back({std::int32_t(a), std::int32_t(b), value});
    }
    if (store.m_partPoint3D.GetCloudPointSize() > 0) store.m_partPoint3D.CreateGrid();
    if (store.m_partPoint2D.GetCloudPointSize() > 0) store.m_partPoint2D.CreateGrid();
}

void ModelFileSections::ViewCloud(ModelArchive& ar, CModelDataMng& store, std::uint16_t version)
{
    CPCloudMng& cloud = store.m_viewCloud;
    if (version >= kModelVersion0102) {
        ar.I32(cloud.m_nShowGroup);
        ar.I32(cloud.m_nShowPCloud);
        ar.I32(cloud.m_nShowTin);
    } else {
        cloud.m_nShowGroup = cloud.m_nShowPCloud = cloud.m_nShowTin = 1;
    }
    TinBody(ar, cloud);
    if (!ar.Ok()) return;
    if (version < kModelVersion0102) {
        if (ar.IsLoading()) {
            // The oldest files keep no points: one per TIN vertex.
            for (const auto& v : cloud.m_vertices) cloud.AddCloudPoint(v.x, v.y, v.z, kViewCloudColour, 0.0);
            if (cloud.GetCloudPointSize() > 0) {
                cloud.m_nDataFlag = 1;
                cloud.CreateGrid();
            }
        }
        return;
    }
    std::int32_t points = cloud.GetCloudPointSize();
    ar.I32(points);
    if (ar.IsStoring()) {
        for (auto& p : cloud.m_points) {
            StoredFloatPoint(ar, p.x, p.y, p.z);
            ar.U32(p.colour);
            ar.F64(p.intensity);
        }
        return;
    }
    if (!ar.CountFits(points, kViewCloudPointBytes, "the view cloud's point count is larger than the file")) return;
    cloud.ReserveCloudPoint(std::size_t(points));
    for (std::int32_t k = 0; k < points; ++k) {
        float x, y, z;
        std::uint32_t colour;
        double intensity;
        StoredFloatPoint(ar, x, y, z);
        ar.U32(colour);
        ar.F64(intensity);
        if (!Finite(ar, x, y)) return;
        cloud.AddCloudPoint(x, y, UnsetIfNaN(z), colour, intensity);
    }
    if (points > 0) {
        cloud.m_nDataFlag = 1;
        cloud.CreateGrid();
    }
}

void ModelFileSections::CadTin(ModelArchive& ar, CModelDataMng& store)
{
    ar.I32(store.m_nShowCAD);
    ar.I32(store.m_nShowCADTin);
    TinBody(ar, store.m_cadTin);
}

void ModelFileSections::DisplaySwitches(ModelArchive& ar, ModelViewState& state, std::uint16_t version)
{
    const int stored = version < kModelVersion0102 ? kDisplaySwitchesOld : int(state.displaySwitches.size());
    for (int i = 0; i < stored; ++i) ar.I32(state.displaySwitches[std::size_t(i)]);
    for (std::size_t i = std::size_t(stored); i < state.displaySwitches.size(); ++i) state.displaySwitches[i] = 1;
}

void ModelFileSections::TexturePlacement(ModelArchive& ar, ModelViewState& state)
{
    for (double& value : state.texturePlacement) ar.F64(value);
}

void ModelFileSections::Structures(ModelArchive& ar, CModelDataMng& store)
{
    constexpr int kBuildSets = 6;
    constexpr int kOtherKinds = 6;
    ar.I32(store.m_nShow3DStructure);
    ar.I32(store.m_n3DStructureSwitch2);
    for (int s = 0; s < kBuildSets; ++s) TinBody(ar, store.m_structure[std::size_t(s)]);
    for (int k = 0; k < kOtherKinds; ++k) {
        ar.I32(store.m_nShowStructure[std::size_t(k + 1)]);
        TinBody(ar, store.m_structure[std::size_t(kBuildSets + k)]);
    }
    // The second stores of the twelve slots; files that end before them are complete.
    if (ar.IsLoading() && ar.Remaining() == 0) return;
    for (int s = CModelDataMng::kStructureSlotCount; s < CModelDataMng::kStructureStoreCount; ++s)
        TinBody(ar, store.m_structure[std::size_t(s)]);
}
