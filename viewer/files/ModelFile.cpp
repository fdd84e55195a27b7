#include "viewer/files/ModelFile.h"

#include "outside/CModelDataMng.h"
#include "platform/AtomicFileWriter.h"
#include "platform/Files.h"
#include "viewer/files/FileFormatConstants.h"
#include "viewer/files/ModelArchive.h"
#include "viewer/files/ModelFileSections.h"

#include <filesystem>
#include <sys/stat.h>

namespace {

using namespace fileformat;

constexpr std::uint64_t kSaveMarginBytes = 1ull << 30;

std::string FolderOf(const std::string& path)
{
    const auto parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

// Moves one group's points and header from the file's group into a live one; the
// live group keeps its TIN and the viewer's data hung on it.
void InstallGroupPoints(CPCloudMng& live, CPCloudMng& file, std::uint16_t version)
{
    CVertexMng tin = std::move(static_cast<CVertexMng&>(live));
    auto viewData = std::move(live.m_viewData);
    const auto treeItems = live.m_treeItems;
    const std::int32_t tinShown = live.m_nShowTin;
    std::string memo = live.m_memo;
    const COLORREF colour = live.m_nColor;
    live = std::move(file);
    static_cast<CVertexMng&>(live) = std::move(tin);
    live.CVertexMng::CreateGrid();
    live.m_viewData = std::move(viewData);
    live.m_treeItems = treeItems;
    live.m_nShowTin = tinShown;
    if (version < kModelVersionCurrent) {
        live.m_memo = std::move(memo);
        live.m_nColor = colour;
    }
}

void InstallGroupTin(CPCloudMng& live, CPCloudMng& file, std::uint16_t version)
{
    static_cast<CVertexMng&>(live) = std::move(static_cast<CVertexMng&>(file));
    live.m_name = file.m_name;
    live.m_nNameNumber = file.m_nNameNumber;
    live.m_nShowGroup = file.m_nShowGroup;
    live.m_nShowTin = file.m_nShowTin;
    if (version >= kModelVersionCurrent) {
        live.m_memo = file.m_memo;
        live.m_nColor = file.m_nColor;
    }
}

// A whole cloud replaced; the viewer's data and tree items of the live one stay.
void ReplaceCloud(CPCloudMng& live, CPCloudMng& file)
{
    auto viewData = std::move(live.m_viewData);
    const auto treeItems = live.m_treeItems;
    live = std::move(file);
    live.m_viewData = std::move(viewData);
    live.m_treeItems = treeItems;
}

void ClearCloud(CPCloudMng& cloud)
{
    cloud.ClearCloudPoint();
    cloud.ClearVertex();
}

}  // namespace

ModelFile::Loaded::Loaded() = default;
ModelFile::Loaded::~Loaded() = default;

std::uint64_t ModelFile::EstimateBytes(const CModelDataMng& store, std::uint16_t flags)
{
    std::uint64_t bytes = 0;
    for (const auto& group : store.m_groups) {
        if (!group) continue;
        if (flags & kGroupPoints) bytes += 36ull * std::uint64_t(group->GetCloudPointSize());
        if (flags & kGroupTins)
            bytes += 12ull * std::uint64_t(group->GetTriangleCount() + group->GetVertexSize());
    }
    return bytes + kSaveMarginBytes;
}

ModelFile::SaveResult ModelFile::Save(const std::string& path, CModelDataMng& store, ModelViewState& state,
                                      std::uint16_t flags, Durability durability)
{
    // When the free space cannot be asked, the save is tried: a full disk still
    // fails cleanly below, leaving the old file.
    const auto free = tessara::FreeBytes(FolderOf(path));
    if (free && *free < EstimateBytes(store, flags)) return SaveResult::NoSpace;

    tessara::AtomicFileWriter writer(path);
    if (!writer.Open()) return SaveResult::CannotCreate;
    ModelArchive ar = ModelArchive::ForStoring(
        [&writer](const std::uint8_t* data, std::size_t size) { return writer.Write(data, size); });
    std::uint32_t magic = kArchiveMagic;
    std::uint16_t version = kModelVersionCurrent;
    ar.U32(magic);
    ar.U16(version);
    ar.U16(flags);
    ModelFileSections::Serialize(ar, store, state, flags, version);
    if (!ar.Flush()) {
        writer.Discard();
        return SaveResult::WriteFailed;
    }
    const bool committed = durability == Durability::Synced ? writer.Commit() : writer.CommitUnsynced();
    return committed ? SaveResult::Ok : SaveResult::WriteFailed;
}

ModelFile::LoadResult ModelFile::Read(const std::string& path, Loaded& out)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return LoadResult::Missing;
    ModelArchive ar = ModelArchive::ForLoadingFile(path);
    if (!ar.Ok()) {
        out.error = ar.FailureReason();
        return LoadResult::CannotOpen;
    }
    std::uint32_t magic = 0;
    ar.U32(magic);
    if (!ar.Ok() || magic != kArchiveMagic) return LoadResult::WrongMagic;
    ar.U16(out.version);
    if (!ar.Ok() || out.version < kModelVersionOldest || out.version > kModelVersionCurrent)
        return LoadResult::WrongVersion;
    ar.U16(out.flags);
    out.scratch = std::make_unique<CModelDataMng>();
    out.state = ModelViewState();
    ModelFileSections::Serialize(ar, *out.scratch, out.state, out.flags, out.version);
    if (!ar.Ok()) {
        out.error = ar.FailureReason();
        out.scratch.reset();
        return LoadResult::Damaged;
    }
    return LoadResult::Ok;
}

bool ModelFile::FitsInto(const Loaded& in, const CModelDataMng& live)
{
    if (!in.scratch) return false;
    if (in.flags == kEverything) {
        // The TIN section never creates groups of its own.
        return !(in.flags & kGroupPoints) || in.state.groupTinRecords <= in.state.groupPointRecords;
    }
    for (int records : {in.state.groupPointRecords, in.state.groupTinRecords}) {
        for (int i = 0; i < records; ++i) {
            if (live.GetGroup(i) == nullptr) return false;
        }
    }
    return true;
}

void ModelFile::ClearContent(CModelDataMng& store, ModelViewState& state, std::uint16_t flags,
                             std::uint16_t version)
{
    if (flags == kEverything) {
        store.ClearGroups();
    } else {
        for (const auto& group : store.m_groups) {
            if (!group) continue;
            if (flags & kGroupPoints) group->DeleteCloudPointAll();
            if (flags & kGroupTins) group->DeleteMeash();
        }
    }
    if (flags & kCadFigures) {
        store.ClearCadFigures();
        if (version < kModelVersion0102) ClearCloud(store.m_cadTin);
    }
    if (flags & kViewCloud) ClearCloud(store.m_viewCloud);
    if (flags & kPartDrawing) store.ClearPartDrawing();
    if (flags & kCadTin) ClearCloud(store.m_cadTin);
    if (flags & kStructures) store.ClearStructures();
    state.frame.Clear();
}

void ModelFile::Install(Loaded& in, CModelDataMng& live, ModelViewState& liveState, const ClearFn& clear)
{
    CModelDataMng& file = *in.scratch;
    const std::uint16_t flags = in.flags;
    const std::uint16_t version = in.version == kModelVersion0103 ? kModelVersion0102 : in.version;
    if (clear)
        clear(flags, in.version);
    else
        ClearContent(live, liveState, flags, in.version);

    liveState.rotationCentre = in.state.rotationCentre;
    liveState.rotationCentreSet = true;
    liveState.frame = in.state.frame;
    live.m_nShowRoot = file.m_nShowRoot;
    if (flags == kEverything) {
        live.m_groups = std::move(file.m_groups);
    } else {
        for (int i = 0; i < in.state.groupTinRecords; ++i) InstallGroupTin(*live.GetGroup(i), *file.GetGroup(i), version);
        for (int i = 0; i < in.state.groupPointRecords; ++i)
            InstallGroupPoints(*live.GetGroup(i), *file.GetGroup(i), version);
    }
    if (flags & kCadFigures) {
        live.m_cadName = std::move(file.m_cadName);
        live.m_nShowCAD = file.m_nShowCAD;
        live.m_elmList = std::move(file.m_elmList);
        live.m_cadLayers = file.m_cadLayers;
        live.m_cadLayerIndex = std::move(file.m_cadLayerIndex);
    }
    if (flags & kPartDrawing) {
        live.m_nShowPart = file.m_nShowPart;
        live.m_nShowPartLn = file.m_nShowPartLn;
        live.m_nShowPartPt = file.m_nShowPartPt;
        live.m_partPoint3D = std::move(file.m_partPoint3D);
        live.m_partPoint2D = std::move(file.m_partPoint2D);
        live.m_partVertex = std::move(file.m_partVertex);
        live.m_partLineVertex3D = std::move(file.m_partLineVertex3D);
        live.m_partLineVertex2D = std::move(file.m_partLineVertex2D);
        live.m_partLine3D = std::move(file.m_partLine3D);
        live.m_partLine2D = std::move(file.m_partLine2D);
    }
    if (flags & kViewCloud) ReplaceCloud(live.m_viewCloud, file.m_viewCloud);
    if ((flags & kCadTin) && version >= kModelVersion0102) {
        live.m_nShowCAD = file.m_nShowCAD;
        live.m_nShowCADTin = file.m_nShowCADTin;
        ReplaceCloud(live.m_cadTin, file.m_cadTin);
    }
    if (flags & kStructures) {
        live.m_nShow3DStructure = file.m_nShow3DStructure;
        live.m_n3DStructureSwitch2 = file.m_n3DStructureSwitch2;
        live.m_nShowStructure = file.m_nShowStructure;
        live.m_structure = std::move(file.m_structure);
    }
    if (in.version != kModelVersion0103) liveState.displaySwitches = in.state.displaySwitches;
    if (in.state.hasTexturePlacement) liveState.texturePlacement = in.state.texturePlacement;
}
