#include "viewer/grouppane/GroupChecks.h"

#include "outside/CModelDataMng.h"

#include <algorithm>

namespace grouptree {

namespace {

void PointDefault(CheckView& v)
{
    if (v.pointColorMode == 0)
        v.pointColorMode = 1;
}

void TinDefault(CheckView& v)
{
    if (v.tinPictureMode == 0)
        v.tinPictureMode = 4;
}

// The colour defaults for a cloud (group or view cloud) that is shown.
void CloudDefaults(const CPCloudMng& c, CheckView& v)
{
    if (c.m_nShowGroup == 0)
        return;
    if (c.m_nShowPCloud != 0)
        PointDefault(v);
    if (c.m_nShowTin != 0)
        TinDefault(v);
}

bool CadTypeShownWithData(const CModelDataMng& s)
{
    for (const auto& layer : s.m_cadLayers) {
        if (!layer.present || layer.show == 0)
            continue;
        for (const CElmData& e : s.m_elmList)
            if (e.m_nKind == layer.id)
                return true;
    }
    return false;
}

} // namespace

CheckOutcome ApplyCheck(CModelDataMng& store, const NodeKey& key, bool checked, CheckView& view)
{
    CheckOutcome out;
    std::int32_t* flag = ShowFlag(store, key);
    if (flag == nullptr)
        return out;
    if (key.kind == NodeKind::CadType && !store.m_cadLayers[static_cast<std::size_t>(key.slot)].present)
        return out;
    out.applied = true;
    const std::int32_t b = checked ? 1 : 0;
    *flag = b;
    const NodeKey root{NodeKind::Root, 0, 0};
    bool mark = false;
    const auto checkParent = [&](NodeKey parent, std::int32_t& parentFlag) {
        parentFlag = 1;
        out.alsoChecked.push_back(parent);
        mark = true;
    };

    switch (key.kind) {
    case NodeKind::Root:
        if (b == 0) {
            out.sceneChanged = true;
            out.clearPicked = true;
            return out;
        }
        if (view.pointColorMode == 0 || view.tinPictureMode == 0) {
            for (const auto& g : store.m_groups)
                if (g)
                    CloudDefaults(*g, view);
            CloudDefaults(store.m_viewCloud, view);
            if (store.m_nShowCAD != 0 && store.m_nShowCADTin != 0)
                TinDefault(view);
        }
        if (!view.cadSwitch && store.m_nShowCAD != 0 && CadTypeShownWithData(store))
            view.cadSwitch = true;
        if (!view.partSwitch && store.m_nShowPart != 0 && (store.m_nShowPartPt != 0 || store.m_nShowPartLn != 0))
            view.partSwitch = true;
        break;
    case NodeKind::Group:
    case NodeKind::CloudRoot: {
        const CPCloudMng& c = key.kind == NodeKind::Group
                                  ? *store.m_groups[static_cast<std::size_t>(FindGroup(store, key.group))]
                                  : store.m_viewCloud;
        if (b == 1) {
            mark = c.m_nShowPCloud != 0 || c.m_nShowTin != 0;
            CloudDefaults(c, view);
        }
        break;
    }
    case NodeKind::GroupPoints:
    case NodeKind::GroupTin:
    case NodeKind::CloudPoints:
    case NodeKind::CloudTin:
        if (b == 1) {
            const bool points = key.kind == NodeKind::GroupPoints || key.kind == NodeKind::CloudPoints;
            points ? PointDefault(view) : TinDefault(view);
            if (key.kind == NodeKind::GroupPoints || key.kind == NodeKind::GroupTin)
                checkParent(NodeKey{NodeKind::Group, key.group, 0}, *ShowFlag(store, NodeKey{NodeKind::Group, key.group, 0}));
            else
                checkParent(NodeKey{NodeKind::CloudRoot, 0, 0}, store.m_viewCloud.m_nShowGroup);
        }
        break;
    case NodeKind::CadRoot:
        if (b == 1) {
            if (CadTypeShownWithData(store)) {
                view.cadSwitch = true;
                mark = true;
            }
            if (store.m_nShowCADTin != 0) {
                TinDefault(view);
                mark = true;
            }
        } else {
            out.clearPicked = true;
        }
        break;
    case NodeKind::CadTin:
        if (b == 1) {
            TinDefault(view);
            checkParent(NodeKey{NodeKind::CadRoot, 0, 0}, store.m_nShowCAD);
        }
        break;
    case NodeKind::CadType:
        if (b == 1) {
            view.cadSwitch = true;
            checkParent(NodeKey{NodeKind::CadRoot, 0, 0}, store.m_nShowCAD);
        } else {
            const std::uint8_t code = store.m_cadLayers[static_cast<std::size_t>(key.slot)].id;
            if (std::find(view.selectedCadKinds.begin(), view.selectedCadKinds.end(), code) != view.selectedCadKinds.end()) {
                view.selectedCadKinds.clear();
                out.clearCadSelection = true;
            }
        }
        break;
    case NodeKind::PartRoot:
        if (b == 1 && (store.m_nShowPartPt != 0 || store.m_nShowPartLn != 0)) {
            view.partSwitch = true;
            mark = true;
        }
        break;
    case NodeKind::PartPoints:
    case NodeKind::PartLines:
        if (b == 1) {
            view.partSwitch = true;
            checkParent(NodeKey{NodeKind::PartRoot, 0, 0}, store.m_nShowPart);
        }
        break;
    case NodeKind::FeatureRoot:
        if (b == 1 && std::any_of(store.m_nShowStructure.begin(), store.m_nShowStructure.end(),
                                  [](std::int32_t f) { return f != 0; })) {
            TinDefault(view);
            mark = true;
        }
        break;
    case NodeKind::FeatureKind:
        if (b == 1) {
            TinDefault(view);
            checkParent(NodeKey{NodeKind::FeatureRoot, 0, 0}, store.m_nShow3DStructure);
        }
        break;
    }
    if (mark && key.kind != NodeKind::Root) {
        store.m_nShowRoot = 1;
        out.alsoChecked.push_back(root);
    }
    out.sceneChanged = true;
    return out;
}

void SetAllFlags(CModelDataMng& store, bool shown)
{
    // Only nodes that exist: a flag without a node stays 1, so data arriving later shows.
    for (const PlanNode& node : PlanTree(store))
        if (std::int32_t* flag = ShowFlag(store, node.key))
            *flag = shown ? 1 : 0;
}

} // namespace grouptree
