#include "viewer/grouppane/GroupChecks.h"

#include "tests/viewer/grouppane/GroupPaneTestData.h"

#include <gtest/gtest.h>

using namespace grouptree;
using namespace grouppanetest;

namespace {

struct Scene {
    CModelDataMng store;
    std::uint64_t group = 0;
    Scene()
    {
        FillScene(store);
        for (const auto& n : PlanTree(store))
            if (n.key.kind == NodeKind::Group)
                group = n.key.group;
    }
    NodeKey Key(NodeKind kind, int slot = 0) const
    {
        const bool grouped = kind == NodeKind::Group || kind == NodeKind::GroupPoints || kind == NodeKind::GroupTin;
        return NodeKey{kind, grouped ? group : 0, slot};
    }
};

const NodeKey kRoot{NodeKind::Root, 0, 0};

} // namespace

TEST(GroupChecks, TickingAChildRechecksItsSectionAndTheRoot)
{
    struct Case {
        NodeKind child;
        NodeKind parent;
    } cases[] = {
        {NodeKind::GroupPoints, NodeKind::Group}, {NodeKind::GroupTin, NodeKind::Group},
        {NodeKind::CadTin, NodeKind::CadRoot},    {NodeKind::CadType, NodeKind::CadRoot},
        {NodeKind::PartPoints, NodeKind::PartRoot}, {NodeKind::PartLines, NodeKind::PartRoot},
        {NodeKind::FeatureKind, NodeKind::FeatureRoot}, {NodeKind::CloudPoints, NodeKind::CloudRoot},
    };
    for (const auto& c : cases) {
        Scene s;
        CheckView view;
        // Clearing the child leaves the parent as it was.
        CheckOutcome off = ApplyCheck(s.store, s.Key(c.child), false, view);
        EXPECT_TRUE(off.applied);
        EXPECT_TRUE(off.alsoChecked.empty());
        EXPECT_EQ(*ShowFlag(s.store, s.Key(c.child)), 0);
        EXPECT_EQ(*ShowFlag(s.store, s.Key(c.parent)), 1);

        *ShowFlag(s.store, s.Key(c.parent)) = 0;
        s.store.m_nShowRoot = 0;
        CheckOutcome on = ApplyCheck(s.store, s.Key(c.child), true, view);
        EXPECT_EQ(*ShowFlag(s.store, s.Key(c.child)), 1);
        EXPECT_EQ(*ShowFlag(s.store, s.Key(c.parent)), 1) << static_cast<int>(c.child);
        EXPECT_EQ(s.store.m_nShowRoot, 1);
        const std::vector<NodeKey> expected{s.Key(c.parent), kRoot};
        EXPECT_EQ(on.alsoChecked, expected);
        EXPECT_TRUE(on.sceneChanged);
    }
}

TEST(GroupChecks, TickingSwitchesOffModesToTheirDefaults)
{
    struct Case {
        NodeKind node;
        int pointMode, tinMode;
        bool cad, part;
    } cases[] = {
        {NodeKind::GroupTin, 0, 4, false, false},
        {NodeKind::GroupPoints, 1, 0, false, false},
        {NodeKind::CloudPoints, 1, 0, false, false},
        {NodeKind::CadTin, 0, 4, false, false},
        {NodeKind::CadType, 0, 0, true, false},
        {NodeKind::PartLines, 0, 0, false, true},
        {NodeKind::FeatureKind, 0, 4, false, false},
        {NodeKind::Group, 1, 4, false, false},
        {NodeKind::Root, 1, 4, true, true},
    };
    for (const auto& c : cases) {
        Scene s;
        CheckView view;
        ApplyCheck(s.store, s.Key(c.node), true, view);
        EXPECT_EQ(view.pointColorMode, c.pointMode) << static_cast<int>(c.node);
        EXPECT_EQ(view.tinPictureMode, c.tinMode) << static_cast<int>(c.node);
        EXPECT_EQ(view.cadSwitch, c.cad) << static_cast<int>(c.node);
        EXPECT_EQ(view.partSwitch, c.part) << static_cast<int>(c.node);
    }
    // A mode already on stays.
    Scene s;
    CheckView view;
    view.tinPictureMode = 2;
    ApplyCheck(s.store, s.Key(NodeKind::GroupTin), true, view);
    EXPECT_EQ(view.tinPictureMode, 2);
}

TEST(GroupChecks, HidingACadTypeClearsTheSelectionOnlyWhenItHoldsThatType)
{
    for (const std::uint8_t selected : {std::uint8_t{12}, std::uint8_t{15}}) {
        Scene s;
        CheckView view;
        view.selectedCadKinds = {selected};
        const int slot = s.store.FindCadLayer(12);
        const CheckOutcome out = ApplyCheck(s.store, s.Key(NodeKind::CadType, slot), false, view);
        EXPECT_EQ(out.clearCadSelection, selected == 12);
        EXPECT_EQ(view.selectedCadKinds.empty(), selected == 12);
    }
}

TEST(GroupChecks, RootOffClearsThePickedListRootOnLeavesOthers)
{
    Scene s;
    CheckView view;
    const CheckOutcome off = ApplyCheck(s.store, kRoot, false, view);
    EXPECT_TRUE(off.clearPicked);
    EXPECT_EQ(s.store.m_nShowRoot, 0);
    EXPECT_EQ(s.store.m_groups[0]->m_nShowGroup, 1);
    const CheckOutcome on = ApplyCheck(s.store, kRoot, true, view);
    EXPECT_FALSE(on.clearPicked);
    EXPECT_TRUE(on.alsoChecked.empty());
    EXPECT_EQ(s.store.m_nShowRoot, 1);
}

TEST(GroupChecks, AGoneGroupChangesNothing)
{
    Scene s;
    const NodeKey key = s.Key(NodeKind::GroupPoints);
    s.store.m_groups.clear();
    CheckView view;
    const CheckOutcome out = ApplyCheck(s.store, key, true, view);
    EXPECT_FALSE(out.applied);
    EXPECT_EQ(view.pointColorMode, 0);
}

TEST(GroupChecks, HideAllClearsEveryNodeButLeavesAbsentFlagsAtOne)
{
    Scene s;
    s.store.m_partLine3D.clear();  // part lines: no node
    SetAllFlags(s.store, false);
    for (const auto& n : PlanTree(s.store))
        EXPECT_EQ(*ShowFlag(s.store, n.key), 0) << n.text;
    EXPECT_EQ(s.store.m_nShowPartLn, 1);
    EXPECT_EQ(s.store.m_nShowStructure[3], 1);
    SetAllFlags(s.store, true);
    for (const auto& n : PlanTree(s.store))
        EXPECT_TRUE(n.checked) << n.text;
}
