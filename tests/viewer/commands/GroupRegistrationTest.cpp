#include "viewer/commands/GroupRegistration.h"

#include "outside/CModelDataMng.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<CPCloudMng> Group(const std::string& name, int points, int nameNumber = 0)
{
    auto g = std::make_unique<CPCloudMng>();
    g->m_name = name;
    g->m_nNameNumber = nameNumber;
    for (int i = 0; i < points; ++i)
        g->AddCloudPoint(static_cast<float>(i), 0.0f, static_cast<float>(i), 0, 0.0);
    return g;
}

std::vector<float> Xs(const CPCloudMng& g)
{
    std::vector<float> xs;
    for (int i = 0; i < g.GetCloudPointSize(); ++i) {
        float x, y, z;
        COLORREF c;
        double intensity;
        g.GetCloudPointVal(i, x, y, z, c, intensity);
        xs.push_back(x);
    }
    return xs;
}

} // namespace

TEST(GroupRegistration, NamesAreCutTrimmedAndCheckedAgainstDisplayNames)
{
    auto numbered = Group("grp", 1, 1);
    EXPECT_EQ(grouping::DisplayName(*numbered), "grp 2");
    EXPECT_EQ(grouping::DisplayName(*Group("grp", 1, 0)), "grp");

    struct Case {
        std::string typed;
        std::size_t bytes;
        std::string stored;
    } cuts[] = {
        {std::string(300, 'a'), 260, std::string(260, 'a')},
        // A double-byte character across byte 260 goes whole.
        {std::string(259, 'a') + "亜", 260, std::string(259, 'a')},
        {"  name \t", 260, "name"},
        {std::string(254, 'm') + "漢", 255, std::string(254, 'm')},
    };
    for (const Case& c : cuts)
        EXPECT_EQ(grouping::CutAndTrim(c.typed, c.bytes), c.stored) << c.typed.size();

    const std::vector<std::string> names{"grp", "grp 2"};
    EXPECT_EQ(grouping::NewNameProblem("", names), "新規グループ名を入力してください。");
    EXPECT_EQ(grouping::NewNameProblem("grp 2", names), "\"grp 2\" は既に存在しています。");
    // A name with format characters is shown as typed.
    EXPECT_EQ(grouping::NewNameProblem("%s%n", {"%s%n"}), "\"%s%n\" は既に存在しています。");
    EXPECT_EQ(grouping::NewNameProblem("Grp", names), "");
}

TEST(GroupRegistration, ListedGroupsHoldPointsOrTriangles)
{
    CModelDataMng store;
    store.AddGroup(Group("a", 2));
    store.AddGroup(Group("empty", 0));
    auto tinOnly = Group("tin", 0);
    tinOnly->m_triangles.resize(1);
    store.AddGroup(std::move(tinOnly));
    EXPECT_EQ(grouping::ListedGroups(store), (std::vector<std::int64_t>{0, 2}));
}

TEST(GroupRegistration, MoveTakesShownPointsOnceAndSkipsBadReferences)
{
    CModelDataMng store;
    store.AddGroup(Group("shown", 5));
    auto hidden = Group("hidden", 3);
    hidden->m_nShowPCloud = 0;
    store.AddGroup(std::move(hidden));
    std::vector<SelPCloud> selection{
        {0, {3, 1, 3, 99}},   // a repeat and an index out of range
        {1, {0, 1}},          // points hidden: they stay
        {7, {0}},             // no such group
    };
    CPCloudMng target;
    const auto result = grouping::MoveSelectedPoints(store, selection, target);
    EXPECT_EQ(result.moved, 2);
    EXPECT_EQ(Xs(target), (std::vector<float>{3, 1}));
    EXPECT_EQ(Xs(*store.GetGroup(0)), (std::vector<float>{0, 2, 4}));
    EXPECT_EQ(store.GetGroup(1)->GetCloudPointSize(), 3);
    EXPECT_TRUE(selection.empty());
}

TEST(GroupRegistration, MovingIntoItsOwnGroupPutsThePointsAtTheEnd)
{
    CModelDataMng store;
    store.AddGroup(Group("g", 4));
    std::vector<SelPCloud> selection{{0, {1, 2}}};
    grouping::MoveSelectedPoints(store, selection, *store.GetGroup(0));
    EXPECT_EQ(Xs(*store.GetGroup(0)), (std::vector<float>{0, 3, 1, 2}));
}
