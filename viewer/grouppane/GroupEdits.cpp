#include "viewer/grouppane/GroupEdits.h"

#include "outside/CModelDataMng.h"
#include "platform/Cp932.h"
#include "viewer/commands/GroupRegistration.h"

#include <algorithm>
#include <memory>

namespace grouptree {

NameCheck CheckNameAmong(const std::string& typed, const std::vector<std::string>& otherDisplayNames)
{
    NameCheck check;
    check.name = grouping::CutAndTrim(typed, kGroupNameBytes);
    if (check.name.empty())
        check.problem = "グループ名を入力してください。";
    else if (std::find(otherDisplayNames.begin(), otherDisplayNames.end(), check.name) != otherDisplayNames.end())
        check.problem = "\"" + check.name + "\" は既に存在しています。";  // the name is data, never a format
    return check;
}

std::vector<std::string> OtherDisplayNames(const CModelDataMng& store, std::uint64_t self)
{
    std::vector<std::string> names;
    for (const auto& g : store.m_groups) {
        if (!g || (self != 0 && PeekGroupId(*g) == self))
            continue;
        if (g->GetCloudPointSize() == 0 && g->GetTriangleCount() == 0)
            continue;  // emptied: no node, no name
        names.push_back(grouping::DisplayName(*g));
    }
    return names;
}

NameCheck CheckGroupName(const CModelDataMng& store, std::uint64_t self, const std::string& typed)
{
    return CheckNameAmong(typed, OtherDisplayNames(store, self));
}

bool SameNameIgnoringCase(const std::string& a, const std::string& b)
{
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return fold(x) == fold(y); });
}

std::optional<std::string> CopyName(const CModelDataMng& store, const std::string& base)
{
    for (int n = 1; n <= kCopyNumbers; ++n) {
        const std::string suffix = "(" + std::to_string(n) + ")";
        const std::string name = tessara::CutToCp932Bytes(base, kGroupNameBytes - suffix.size()) + suffix;
        const bool taken = std::any_of(store.m_groups.begin(), store.m_groups.end(),
                                       [&](const auto& g) { return g && SameNameIgnoringCase(g->m_name, name); });
        if (!taken)
            return name;
    }
    return std::nullopt;
}

std::int64_t CopyCloudGroup(CModelDataMng& store, std::int64_t i)
{
    CPCloudMng* source = store.GetGroup(i);
    if (source == nullptr || source->GetCloudPointSize() == 0)
        return -1;
    const std::optional<std::string> name = CopyName(store, source->m_name);
    if (!name)
        return -1;
    auto copy = std::make_unique<CPCloudMng>();
    copy->m_name = *name;
    copy->m_memo = source->m_memo;
    copy->m_nColor = CModelDataMng::GetDefPointCloudGroupCol(static_cast<std::uint16_t>(i + 1));
    // Coordinates, colour and value in order; the same points index the same grid.
    copy->CopyPointsFrom(*source);
    copy->m_nDataFlag = 1;
    const int at = store.InsertGroup(i + 1, std::move(copy));
    source->m_nShowGroup = 0;
    return at;
}

std::optional<std::uint16_t> DeleteSnapshotFlags(NodeKind kind)
{
    switch (kind) {
    case NodeKind::Group: return 0x03;
    case NodeKind::GroupPoints: return 0x01;
    case NodeKind::GroupTin: return 0x02;
    case NodeKind::CadRoot: return 0x24;
    case NodeKind::CadType: return 0x04;
    case NodeKind::CadTin: return 0x20;
    case NodeKind::PartRoot:
    case NodeKind::PartPoints:
    case NodeKind::PartLines: return 0x10;
    case NodeKind::CloudRoot:
    case NodeKind::CloudPoints:
    case NodeKind::CloudTin: return 0x08;
    case NodeKind::FeatureRoot:
    case NodeKind::FeatureKind: return 0x40;
    case NodeKind::Root: return std::nullopt;
    }
    return std::nullopt;
}

namespace {

void ClearPoints(CPCloudMng& c, DeleteWork& work)
{
    c.DeleteCloudPointAll();
    work.clearPickBuckets = true;
}

void ClearMesh(CVertexMng& tin, DeleteWork& work)
{
    tin.DeleteMeash();
    work.rebuildPickCache = true;
}

void ClearCadTin(CModelDataMng& store, DeleteWork& work)
{
    ClearMesh(store.m_cadTin, work);
    store.m_cadTin.DeleteCloudPointAll();
}

void ClearPartLines(CModelDataMng& store)
{
    store.m_partVertex.ClearVertex();
    store.m_partLineVertex3D.ClearVertex();
    store.m_partLineVertex2D.ClearVertex();
    store.m_partLine3D.clear();
    store.m_partLine2D.clear();
}

void ClearFeatureKind(CModelDataMng& store, int kind, DeleteWork& work)
{
    const auto clearSlot = [&](int s) {
        ClearMesh(store.m_structure[static_cast<std::size_t>(s)], work);
        ClearMesh(store.m_structure[static_cast<std::size_t>(s + CModelDataMng::kStructureSlotCount)], work);
    };
    if (kind == 0)
        for (int s = 0; s < 6; ++s)
            clearSlot(s);
    else if (kind > 0 && kind < CModelDataMng::kStructureKindCount)
        clearSlot(5 + kind);
}

} // namespace

DeleteWork DeleteNodeData(CModelDataMng& store, const NodeKey& key)
{
    DeleteWork work;
    if (!DeleteSnapshotFlags(key.kind))
        return work;
    switch (key.kind) {
    case NodeKind::Group:
    case NodeKind::GroupPoints:
    case NodeKind::GroupTin: {
        CPCloudMng* g = store.GetGroup(FindGroup(store, key.group));
        if (g == nullptr)
            return work;
        if (key.kind != NodeKind::GroupTin)
            ClearPoints(*g, work);
        if (key.kind != NodeKind::GroupPoints)
            ClearMesh(*g, work);
        break;
    }
    case NodeKind::CadRoot:
        store.m_elmList.clear();
        work.clearSelection = true;
        ClearCadTin(store, work);
        break;
    case NodeKind::CadType: {
        if (key.slot < 0 || key.slot >= CModelDataMng::kCadLayerCount ||
            !store.m_cadLayers[static_cast<std::size_t>(key.slot)].present)
            return work;
        const std::uint8_t code = store.m_cadLayers[static_cast<std::size_t>(key.slot)].id;
        std::erase_if(store.m_elmList, [&](const CElmData& e) { return e.m_nKind == code; });
        work.clearSelection = true;
        break;
    }
    case NodeKind::CadTin: ClearCadTin(store, work); break;
    case NodeKind::PartRoot:
        store.m_partPoint3D.DeleteCloudPointAll();
        store.m_partPoint2D.DeleteCloudPointAll();
        ClearPartLines(store);
        break;
    case NodeKind::PartPoints:
        store.m_partPoint3D.DeleteCloudPointAll();
        store.m_partPoint2D.DeleteCloudPointAll();
        break;
    case NodeKind::PartLines: ClearPartLines(store); break;
    case NodeKind::CloudRoot:
        ClearMesh(store.m_viewCloud, work);
        ClearPoints(store.m_viewCloud, work);
        break;
    case NodeKind::CloudPoints: ClearPoints(store.m_viewCloud, work); break;
    case NodeKind::CloudTin: ClearMesh(store.m_viewCloud, work); break;
    case NodeKind::FeatureRoot:
        for (int k = 0; k < CModelDataMng::kStructureKindCount; ++k)
            ClearFeatureKind(store, k, work);
        break;
    case NodeKind::FeatureKind: ClearFeatureKind(store, key.slot, work); break;
    case NodeKind::Root: return work;
    }
    work.done = true;
    work.releaseAllBuffers = true;
    return work;
}

} // namespace grouptree
