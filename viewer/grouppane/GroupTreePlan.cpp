#include "viewer/grouppane/GroupTreePlan.h"

#include "outside/CModelDataMng.h"
#include "viewer/commands/GroupRegistration.h"
#include "viewer/commands/SceneCounters.h"

#include <atomic>
#include <unordered_set>

namespace grouptree {

namespace {

std::atomic<std::uint64_t> g_nextGroupId{1};

NodeKey Key(NodeKind kind, std::uint64_t group = 0, int slot = 0) { return NodeKey{kind, group, slot}; }

std::string Counted(const char* head, std::int64_t count) { return std::string(head) + " (" + FormatThousands(count) + ")"; }

const char* const kFeatureTexts[CModelDataMng::kStructureKindCount] = {"建物", "道路橋", "照明灯", "電柱", "高塔", "鉄道", "煙突"};

std::int64_t PartPoints(const CModelDataMng& s)
{
    return static_cast<std::int64_t>(s.m_partPoint3D.GetCloudPointSize()) + s.m_partPoint2D.GetCloudPointSize();
}

std::int64_t PartLines(const CModelDataMng& s)
{
    return static_cast<std::int64_t>(s.m_partLine3D.size()) + static_cast<std::int64_t>(s.m_partLine2D.size());
}

// Gives every unnamed group with data the name "SurfLook" and the lowest number
// whose display name no other group shows.
void NameUnnamedGroups(CModelDataMng& store)
{
    std::unordered_set<std::string> taken;
    for (const auto& g : store.m_groups)
        if (g && !g->m_name.empty() && (g->GetCloudPointSize() > 0 || g->GetTriangleCount() > 0))
            taken.insert(grouping::DisplayName(*g));
    for (const auto& g : store.m_groups) {
        if (!g || !g->m_name.empty() || (g->GetCloudPointSize() == 0 && g->GetTriangleCount() == 0))
            continue;
        g->m_name = kUnnamedGroup;
        for (std::int32_t n = 0;; ++n) {
            g->m_nNameNumber = n;
            if (taken.insert(grouping::DisplayName(*g)).second)
                break;
        }
    }
}

} // namespace

std::uint64_t PeekGroupId(const CPCloudMng& group) { return reinterpret_cast<std::uintptr_t>(group.m_treeItems[0]); }

std::uint64_t GroupId(CPCloudMng& group)
{
    if (group.m_treeItems[0] == nullptr)
        group.m_treeItems[0] = reinterpret_cast<void*>(static_cast<std::uintptr_t>(g_nextGroupId.fetch_add(1)));
    return PeekGroupId(group);
}

std::int64_t FindGroup(const CModelDataMng& store, std::uint64_t id)
{
    if (id == 0)
        return -1;
    for (std::size_t i = 0; i < store.m_groups.size(); ++i)
        if (store.m_groups[i] && PeekGroupId(*store.m_groups[i]) == id)
            return static_cast<std::int64_t>(i);
    return -1;
}

std::string GetCadTypeName(int code)
{
    switch (code) {
    case 3: return "点パーツ";
    case 4: return "線パーツ";
    case 5: return "混合パーツ";
    case 11: return "点";
    case 12: return "線";
    case 13: return "ポリライン";
    case 15: return "円";
    case 16: return "円弧";
    case 17: return "楕円";
    case 18: return "楕円弧";
    case 19: return "寸法線";
    case 20: return "円弧寸法線";
    case 21: return "引き出し線";
    case 31: return "文字";
    case 41: return "ラスタ";
    case 42: return "スプライン";
    case 43: return "ベジェ";
    case 46: return "ハッチング";
    case 47: return "ペイント";
    case 48: return "パターンハッチ";
    case 49: return "クロソイド";
    case 50: return "作図点";
    case 102: return "面パーツ(多角形)";
    case 103: return "面パーツ(円)";
    default: return {};
    }
}

std::int64_t FeatureTriangles(const CModelDataMng& store, int kind)
{
    const auto slot = [&](int s) {
        return static_cast<std::int64_t>(store.m_structure[static_cast<std::size_t>(s)].GetTriangleCount()) +
               store.m_structure[static_cast<std::size_t>(s + CModelDataMng::kStructureSlotCount)].GetTriangleCount();
    };
    if (kind == 0) {
        std::int64_t total = 0;
        for (int s = 0; s < 6; ++s)
            total += slot(s);
        return total;
    }
    if (kind < 0 || kind >= CModelDataMng::kStructureKindCount)
        return 0;
    return slot(5 + kind);
}

std::vector<PlanNode> PlanTree(CModelDataMng& store)
{
    std::vector<PlanNode> plan;
    const NodeKey root = Key(NodeKind::Root);
    plan.push_back({root, root, "3Dデータ", kImageRoot, store.m_nShowRoot != 0, true});
    const auto add = [&](NodeKey key, NodeKey parent, std::string text, int image, std::int32_t flag) {
        plan.push_back({key, parent, std::move(text), image, flag != 0, false});
    };

    // Point-cloud groups.
    NameUnnamedGroups(store);
    for (const auto& g : store.m_groups) {
        if (!g)
            continue;
        const std::int64_t points = g->GetCloudPointSize();
        const std::int64_t triangles = g->GetTriangleCount();
        if (points == 0 && triangles == 0) {
            g->m_nShowGroup = g->m_nShowPCloud = g->m_nShowTin = 1;
            g->m_name.clear();
            g->m_nNameNumber = 0;
            continue;
        }
        const NodeKey group = Key(NodeKind::Group, GroupId(*g));
        add(group, root, grouping::DisplayName(*g) + " (点群)", kImageGroup, g->m_nShowGroup);
        if (points > 0)
            add(Key(NodeKind::GroupPoints, group.group), group, Counted("点", points), kImagePoints, g->m_nShowPCloud);
        else
            g->m_nShowPCloud = 1;
        if (triangles > 0)
            add(Key(NodeKind::GroupTin, group.group), group, Counted("TIN", triangles), kImageTin, g->m_nShowTin);
        else
            g->m_nShowTin = 1;
    }

    // CAD.
    const std::int64_t cadTriangles = store.m_cadTin.GetTriangleCount();
    if (!store.m_elmList.empty() || cadTriangles > 0) {
        const NodeKey cad = Key(NodeKind::CadRoot);
        add(cad, root, store.m_cadName.empty() ? std::string("CAD (SurfLook)") : store.m_cadName + " (CAD)", kImageSection,
            store.m_nShowCAD);
        for (int s = 0; s < CModelDataMng::kCadLayerCount; ++s) {
            auto& layer = store.m_cadLayers[static_cast<std::size_t>(s)];
            std::int64_t count = 0;
            if (layer.present)
                for (const CElmData& e : store.m_elmList)
                    count += e.m_nKind == layer.id ? 1 : 0;
            if (count > 0)
                add(Key(NodeKind::CadType, 0, s), cad, GetCadTypeName(layer.id) + " (" + FormatThousands(count) + ")",
                    kImageCadType, layer.show);
            else
                layer.show = 1;
        }
        if (cadTriangles > 0)
            add(Key(NodeKind::CadTin), cad, Counted("TIN", cadTriangles), kImageTin, store.m_nShowCADTin);
        else
            store.m_nShowCADTin = 1;
    } else {
        store.m_nShowCAD = store.m_nShowCADTin = 1;
        for (auto& layer : store.m_cadLayers)
            layer.show = 1;
        store.m_cadName.clear();
    }

    // 3D features.
    std::int64_t featureCounts[CModelDataMng::kStructureKindCount];
    std::int64_t featureTotal = 0;
    for (int k = 0; k < CModelDataMng::kStructureKindCount; ++k)
        featureTotal += featureCounts[k] = FeatureTriangles(store, k);
    if (featureTotal > 0) {
        const NodeKey features = Key(NodeKind::FeatureRoot);
        add(features, root, "3次元地物 (TIN)", kImageSection, store.m_nShow3DStructure);
        for (int k = 0; k < CModelDataMng::kStructureKindCount; ++k) {
            if (featureCounts[k] > 0)
                add(Key(NodeKind::FeatureKind, 0, k), features, Counted(kFeatureTexts[k], featureCounts[k]), kImageTin,
                    store.m_nShowStructure[static_cast<std::size_t>(k)]);
            else
                store.m_nShowStructure[static_cast<std::size_t>(k)] = 1;
        }
    } else {
        store.m_nShow3DStructure = 1;
        store.m_nShowStructure.fill(1);
    }

    // A section of a root and up to two children; an absent child's flag, or all
    // three flags without data, go back to 1.
    struct Child {
        NodeKind kind;
        const char* head;
        std::int64_t count;
        int image;
        std::int32_t& flag;
    };
    const auto section = [&](NodeKind kind, const char* text, std::int32_t& rootFlag, Child first, Child last) {
        if (first.count == 0 && last.count == 0) {
            rootFlag = first.flag = last.flag = 1;
            return;
        }
        const NodeKey sectionKey = Key(kind);
        add(sectionKey, root, text, kImageSection, rootFlag);
        for (Child* c : {&first, &last}) {
            if (c->count > 0)
                add(Key(c->kind), sectionKey, Counted(c->head, c->count), c->image, c->flag);
            else
                c->flag = 1;
        }
    };
    section(NodeKind::PartRoot, "パート図", store.m_nShowPart,
            {NodeKind::PartPoints, "測点", PartPoints(store), kImagePoints, store.m_nShowPartPt},
            {NodeKind::PartLines, "結線", PartLines(store), kImageLines, store.m_nShowPartLn});
    CPCloudMng& cloud = store.m_viewCloud;
    section(NodeKind::CloudRoot, "標高 (DEM)", cloud.m_nShowGroup,
            {NodeKind::CloudPoints, "点", cloud.GetCloudPointSize(), kImagePoints, cloud.m_nShowPCloud},
            {NodeKind::CloudTin, "TIN", cloud.GetTriangleCount(), kImageTin, cloud.m_nShowTin});
    return plan;
}

std::int32_t* ShowFlag(CModelDataMng& store, const NodeKey& key)
{
    switch (key.kind) {
    case NodeKind::Root: return &store.m_nShowRoot;
    case NodeKind::Group:
    case NodeKind::GroupPoints:
    case NodeKind::GroupTin: {
        const std::int64_t i = FindGroup(store, key.group);
        if (i < 0)
            return nullptr;
        CPCloudMng& g = *store.m_groups[static_cast<std::size_t>(i)];
        return key.kind == NodeKind::Group ? &g.m_nShowGroup : key.kind == NodeKind::GroupPoints ? &g.m_nShowPCloud : &g.m_nShowTin;
    }
    case NodeKind::CadRoot: return &store.m_nShowCAD;
    case NodeKind::CadType:
        if (key.slot < 0 || key.slot >= CModelDataMng::kCadLayerCount)
            return nullptr;
        return &store.m_cadLayers[static_cast<std::size_t>(key.slot)].show;
    case NodeKind::CadTin: return &store.m_nShowCADTin;
    case NodeKind::FeatureRoot: return &store.m_nShow3DStructure;
    case NodeKind::FeatureKind:
        if (key.slot < 0 || key.slot >= CModelDataMng::kStructureKindCount)
            return nullptr;
        return &store.m_nShowStructure[static_cast<std::size_t>(key.slot)];
    case NodeKind::PartRoot: return &store.m_nShowPart;
    case NodeKind::PartPoints: return &store.m_nShowPartPt;
    case NodeKind::PartLines: return &store.m_nShowPartLn;
    case NodeKind::CloudRoot: return &store.m_viewCloud.m_nShowGroup;
    case NodeKind::CloudPoints: return &store.m_viewCloud.m_nShowPCloud;
    case NodeKind::CloudTin: return &store.m_viewCloud.m_nShowTin;
    }
    return nullptr;
}

} // namespace grouptree
