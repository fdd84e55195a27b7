#include "viewer/grouppane/GroupEdits.h"

#include "platform/Cp932.h"
#include "tests/viewer/grouppane/GroupPaneTestData.h"

#include <gtest/gtest.h>

using namespace grouptree;
using namespace grouppanetest;

TEST(GroupEdits, NameCheck)
{
    CModelDataMng store;
    CPCloudMng& self = AddGroup(store, "", 1);
    AddGroup(store, "", 1);
    AddGroup(store, "Other", 1);
    PlanTree(store);  // names SurfLook, SurfLook 2
    const std::uint64_t id = GroupId(self);
    struct Case {
        std::string typed;
        std::string name;
        std::string problem;
    } cases[] = {
        {"SurfLook 2", "SurfLook 2", "\"SurfLook 2\" は既に存在しています。"},
        {"Other", "Other", "\"Other\" は既に存在しています。"},
        {"other", "other", ""},
        {"SurfLook", "SurfLook", ""},  // its own name
        {"  \t ", "", "グループ名を入力してください。"},
        {"%s%n", "%s%n", ""},
        {std::string(300, 'a'), std::string(260, 'a'), ""},
        {std::string(259, 'a') + "亜", std::string(259, 'a'), ""},
    };
    for (const auto& c : cases) {
        const NameCheck check = CheckGroupName(store, id, c.typed);
        EXPECT_EQ(check.name, c.name) << c.typed;
        EXPECT_EQ(check.problem, c.problem) << c.typed;
    }
    AddGroup(store, "%s%n", 1);
    EXPECT_EQ(CheckGroupName(store, id, "%s%n").problem, "\"%s%n\" は既に存在しています。");
}

TEST(GroupEdits, CaseBlindComparisonFoldsAsciiOnly)
{
    EXPECT_TRUE(SameNameIgnoringCase("Site(1)", "site(1)"));
    EXPECT_FALSE(SameNameIgnoringCase("ア", "ヂ"));
    EXPECT_FALSE(SameNameIgnoringCase("Ａ", "ａ"));
    EXPECT_FALSE(SameNameIgnoringCase("ab", "abc"));
}

TEST(GroupEdits, CopyNames)
{
    CModelDataMng store;
    AddGroup(store, "Site", 1);
    AddGroup(store, "site(1)", 1);
    EXPECT_EQ(CopyName(store, "Site"), "Site(2)");
    for (int n = 2; n <= 99; ++n)
        AddGroup(store, "Site(" + std::to_string(n) + ")", 1);
    EXPECT_EQ(CopyName(store, "Site"), std::nullopt);

    // Long names are cut on a character boundary so the whole fits 260 bytes.
    const std::string wide(130, 'x');
    std::string kana;
    for (int i = 0; i < 130; ++i)
        kana += "ア";
    for (const std::string& base : {std::string(260, 'n'), kana, "a" + kana.substr(0, 3 * 129)}) {
        const std::optional<std::string> name = CopyName(store, base);
        ASSERT_TRUE(name);
        EXPECT_LE(tessara::Cp932Length(*name), kGroupNameBytes);
        EXPECT_EQ(name->substr(name->size() - 3), "(1)");
        EXPECT_EQ(base.rfind(name->substr(0, name->size() - 3), 0), 0u);
    }
    EXPECT_EQ(tessara::Cp932Length(*CopyName(store, std::string(260, 'n'))), 260u);
}

TEST(GroupEdits, CopyGoesAfterTheSourceAndHidesIt)
{
    CModelDataMng store;
    CPCloudMng& site = AddGroup(store, "Site", 50);
    site.m_memo = "memo";
    AddGroup(store, "site(1)", 1);
    EXPECT_EQ(CopyCloudGroup(store, 0), 1);
    const CPCloudMng& copy = *store.m_groups[1];
    EXPECT_EQ(copy.m_name, "Site(2)");
    EXPECT_EQ(copy.m_memo, "memo");
    EXPECT_EQ(copy.m_nColor, CModelDataMng::GetDefPointCloudGroupCol(1));
    EXPECT_EQ(copy.m_nDataFlag, 1);
    ASSERT_EQ(copy.GetCloudPointSize(), 50);
    for (int i = 0; i < 50; ++i) {
        float x1, y1, z1, x2, y2, z2;
        COLORREF c1, c2;
        double v1, v2;
        site.GetCloudPointVal(i, x1, y1, z1, c1, v1);
        copy.GetCloudPointVal(i, x2, y2, z2, c2, v2);
        EXPECT_TRUE(x1 == x2 && y1 == y2 && z1 == z2 && c1 == c2 && v1 == v2);
    }
    EXPECT_EQ(site.m_nShowGroup, 0);
    EXPECT_EQ(copy.m_nShowGroup, 1);
    EXPECT_EQ(store.m_groups[2]->m_name, "site(1)");

    // Nothing to copy: no group, no points.
    EXPECT_EQ(CopyCloudGroup(store, 7), -1);
    AddGroup(store, "tinonly", 0, 3);
    EXPECT_EQ(CopyCloudGroup(store, 3), -1);
    EXPECT_EQ(store.GetGroupCount(), 4);
}

TEST(GroupEdits, DeleteByKind)
{
    struct Case {
        NodeKind kind;
        std::uint16_t flags;
        std::vector<std::string> left;  // tree texts after
    } cases[] = {
        {NodeKind::Group, 0x03, {"3Dデータ", "CAD (SurfLook)", "線 (2)", "円 (1)", "TIN (1)", "3次元地物 (TIN)", "建物 (1)", "煙突 (1)", "パート図", "測点 (1)", "結線 (1)", "標高 (DEM)", "点 (2)", "TIN (1)"}},
        {NodeKind::GroupPoints, 0x01, {"3Dデータ", "Site (点群)", "TIN (2)", "CAD (SurfLook)", "線 (2)", "円 (1)", "TIN (1)", "3次元地物 (TIN)", "建物 (1)", "煙突 (1)", "パート図", "測点 (1)", "結線 (1)", "標高 (DEM)", "点 (2)", "TIN (1)"}},
        {NodeKind::CadType, 0x04, {"3Dデータ", "Site (点群)", "点 (3)", "TIN (2)", "CAD (SurfLook)", "円 (1)", "TIN (1)", "3次元地物 (TIN)", "建物 (1)", "煙突 (1)", "パート図", "測点 (1)", "結線 (1)", "標高 (DEM)", "点 (2)", "TIN (1)"}},
        {NodeKind::CadRoot, 0x24, {"3Dデータ", "Site (点群)", "点 (3)", "TIN (2)", "3次元地物 (TIN)", "建物 (1)", "煙突 (1)", "パート図", "測点 (1)", "結線 (1)", "標高 (DEM)", "点 (2)", "TIN (1)"}},
        {NodeKind::FeatureKind, 0x40, {"3Dデータ", "Site (点群)", "点 (3)", "TIN (2)", "CAD (SurfLook)", "線 (2)", "円 (1)", "TIN (1)", "3次元地物 (TIN)", "煙突 (1)", "パート図", "測点 (1)", "結線 (1)", "標高 (DEM)", "点 (2)", "TIN (1)"}},
        {NodeKind::PartLines, 0x10, {"3Dデータ", "Site (点群)", "点 (3)", "TIN (2)", "CAD (SurfLook)", "線 (2)", "円 (1)", "TIN (1)", "3次元地物 (TIN)", "建物 (1)", "煙突 (1)", "パート図", "測点 (1)", "標高 (DEM)", "点 (2)", "TIN (1)"}},
        {NodeKind::CloudTin, 0x08, {"3Dデータ", "Site (点群)", "点 (3)", "TIN (2)", "CAD (SurfLook)", "線 (2)", "円 (1)", "TIN (1)", "3次元地物 (TIN)", "建物 (1)", "煙突 (1)", "パート図", "測点 (1)", "結線 (1)", "標高 (DEM)", "点 (2)"}},
        {NodeKind::CloudRoot, 0x08, {"3Dデータ", "Site (点群)", "点 (3)", "TIN (2)", "CAD (SurfLook)", "線 (2)", "円 (1)", "TIN (1)", "3次元地物 (TIN)", "建物 (1)", "煙突 (1)", "パート図", "測点 (1)", "結線 (1)"}},
    };
    for (const auto& c : cases) {
        CModelDataMng store;
        CPCloudMng& g = FillScene(store);
        PlanTree(store);
        const NodeKey key{c.kind, GroupId(g), c.kind == NodeKind::CadType ? store.FindCadLayer(12) : 0};
        EXPECT_EQ(DeleteSnapshotFlags(c.kind), c.flags);
        const DeleteWork work = DeleteNodeData(store, key);
        EXPECT_TRUE(work.done);
        std::vector<std::string> texts;
        for (const auto& n : PlanTree(store))
            texts.push_back(n.text);
        EXPECT_EQ(texts, c.left) << static_cast<int>(c.kind);
    }
    EXPECT_EQ(DeleteSnapshotFlags(NodeKind::Root), std::nullopt);
    CModelDataMng empty;
    EXPECT_FALSE(DeleteNodeData(empty, NodeKey{NodeKind::Group, 12345, 0}).done);
}
