#include "viewer/grouppane/GroupTreePlan.h"

#include "tests/viewer/grouppane/GroupPaneTestData.h"

#include <gtest/gtest.h>

using namespace grouptree;
using namespace grouppanetest;

namespace {

std::vector<std::string> Texts(const std::vector<PlanNode>& plan)
{
    std::vector<std::string> texts;
    for (const auto& n : plan)
        texts.push_back(n.text);
    return texts;
}

} // namespace

TEST(GroupTreePlan, EmptyStoreShowsTheCheckedRootOnly)
{
    CModelDataMng store;
    const auto plan = PlanTree(store);
    ASSERT_EQ(plan.size(), 1u);
    EXPECT_EQ(plan[0].text, "3Dデータ");
    EXPECT_TRUE(plan[0].checked);
    EXPECT_TRUE(plan[0].bold);
    EXPECT_EQ(plan[0].image, kImageRoot);
}

TEST(GroupTreePlan, UnnamedGroupsGetDisplayNamesThatNeverRepeat)
{
    struct Case {
        const char* what;
        std::vector<std::string> names;  // "" unnamed
        std::vector<std::string> expected;
    } cases[] = {
        {"two unnamed", {"", ""}, {"SurfLook (点群)", "SurfLook 2 (点群)"}},
        {"user's SurfLook first", {"SurfLook", ""}, {"SurfLook (点群)", "SurfLook 2 (点群)"}},
        {"user's SurfLook after", {"", "SurfLook"}, {"SurfLook 2 (点群)", "SurfLook (点群)"}},
        {"three unnamed", {"", "", ""}, {"SurfLook (点群)", "SurfLook 2 (点群)", "SurfLook 3 (点群)"}},
        {"user's SurfLook 2", {"", "SurfLook 2", ""}, {"SurfLook (点群)", "SurfLook 2 (点群)", "SurfLook 3 (点群)"}},
    };
    for (const auto& c : cases) {
        CModelDataMng store;
        for (const auto& n : c.names)
            AddGroup(store, n, 3);
        const auto plan = PlanTree(store);
        std::vector<std::string> groups;
        for (const auto& node : plan)
            if (node.key.kind == NodeKind::Group)
                groups.push_back(node.text);
        EXPECT_EQ(groups, c.expected) << c.what;
    }
}

TEST(GroupTreePlan, AThirdUnnamedGroupAfterARebuildTakesTheNextNumber)
{
    CModelDataMng store;
    AddGroup(store, "", 2);
    AddGroup(store, "", 2);
    PlanTree(store);
    AddGroup(store, "", 2);
    const auto plan = PlanTree(store);
    EXPECT_EQ(plan[5].text, "SurfLook 3 (点群)");
    // Numbers once given stay.
    EXPECT_EQ(store.m_groups[0]->m_nNameNumber, 0);
    EXPECT_EQ(store.m_groups[1]->m_nNameNumber, 1);
    // A rebuild gives the same texts and keys.
    EXPECT_EQ(Texts(PlanTree(store)), Texts(plan));
}

TEST(GroupTreePlan, GroupNodesFollowPointsAndTriangles)
{
    CModelDataMng store;
    CPCloudMng& g = AddGroup(store, "Site", 1234, 5);
    g.m_nShowPCloud = 0;
    auto plan = PlanTree(store);
    ASSERT_EQ(plan.size(), 4u);
    EXPECT_EQ(plan[1].text, "Site (点群)");
    EXPECT_EQ(plan[1].image, kImageGroup);
    EXPECT_EQ(plan[2].text, "点 (1,234)");
    EXPECT_FALSE(plan[2].checked);
    EXPECT_EQ(plan[3].text, "TIN (5)");
    EXPECT_EQ(plan[2].parent, plan[1].key);

    // Losing its points keeps the group and TIN nodes; the points flag is 1 again.
    g.DeleteCloudPointAll();
    plan = PlanTree(store);
    ASSERT_EQ(plan.size(), 3u);
    EXPECT_EQ(plan[2].text, "TIN (5)");
    EXPECT_EQ(g.m_nShowPCloud, 1);

    // Emptied: no nodes, flags 1, name gone.
    g.m_nShowGroup = 0;
    g.DeleteMeash();
    plan = PlanTree(store);
    EXPECT_EQ(plan.size(), 1u);
    EXPECT_EQ(g.m_name, "");
    EXPECT_EQ(g.m_nShowGroup, 1);
}

TEST(GroupTreePlan, CadTypesInSlotOrderWithCounts)
{
    CModelDataMng store;
    AddFigures(store, 12, 2);
    AddFigures(store, 3, 1);
    AddFigures(store, 200, 1);  // unknown code: empty type name
    AddTriangles(store.m_cadTin, 1500);
    const auto texts = Texts(PlanTree(store));
    const std::vector<std::string> expected{"3Dデータ", "CAD (SurfLook)", "線 (2)", "点パーツ (1)", " (1)", "TIN (1,500)"};
    EXPECT_EQ(texts, expected);
    store.m_cadName = "layer";
    EXPECT_EQ(PlanTree(store)[1].text, "layer (CAD)");
    store.m_elmList.clear();
    store.m_cadTin.DeleteMeash();
    EXPECT_EQ(PlanTree(store).size(), 1u);
    EXPECT_EQ(store.m_cadName, "");
}

TEST(GroupTreePlan, FeaturePartAndViewCloudSections)
{
    CModelDataMng store;
    AddTriangles(store.m_structure[0], 2);
    AddTriangles(store.m_structure[12 + 3], 1);  // second store of a building set
    AddTriangles(store.m_structure[5 + 6], 4);   // chimneys
    store.m_nShowStructure[1] = 0;               // road bridges without data
    AddPoints(store.m_partPoint3D, 2);
    AddPoints(store.m_partPoint2D, 1);
    store.m_partLine2D.resize(1);
    AddPoints(store.m_viewCloud, 1000);
    const auto texts = Texts(PlanTree(store));
    const std::vector<std::string> expected{"3Dデータ", "3次元地物 (TIN)", "建物 (3)", "煙突 (4)", "パート図", "測点 (3)",
                                            "結線 (1)", "標高 (DEM)", "点 (1,000)"};
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(store.m_nShowStructure[1], 1);
}

TEST(GroupTreePlan, GroupIdsStayAndAreFoundAgain)
{
    CModelDataMng store;
    AddGroup(store, "a", 1);
    AddGroup(store, "b", 1);
    const auto plan = PlanTree(store);
    const std::uint64_t b = plan[3].key.group;
    EXPECT_EQ(FindGroup(store, b), 1);
    store.InsertGroup(0, std::make_unique<CPCloudMng>());
    EXPECT_EQ(FindGroup(store, b), 2);
    store.m_groups.erase(store.m_groups.begin() + 2);
    EXPECT_EQ(FindGroup(store, b), -1);
    EXPECT_EQ(ShowFlag(store, NodeKey{NodeKind::Group, b, 0}), nullptr);
    EXPECT_EQ(FindGroup(store, 0), -1);
}

TEST(GroupTreePlan, CadTypeNames)
{
    EXPECT_EQ(GetCadTypeName(3), "点パーツ");
    EXPECT_EQ(GetCadTypeName(103), "面パーツ(円)");
    EXPECT_EQ(GetCadTypeName(0), "");
    EXPECT_EQ(GetCadTypeName(-5), "");
}
