#include "viewer/commands/TinGeneration.h"

#include "outside/CModelDataMng.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<CPCloudMng> Grid(int side, float spacing)
{
    auto g = std::make_unique<CPCloudMng>();
    for (int i = 0; i < side; ++i)
        for (int j = 0; j < side; ++j)
            g->AddCloudPoint(i * spacing, j * spacing, 0.1f * static_cast<float>(i), 0, 0.0);
    g->m_nDataFlag = 1;
    g->CreateGrid();
    return g;
}

} // namespace

TEST(TinGeneration, LimitsAndTexts)
{
    EXPECT_EQ(tingen::PointLimit(50), 500000);
    EXPECT_EQ(tingen::PointLimit(300000), 3000000000LL);
    EXPECT_EQ(tingen::SelectionOverLimitText(500000),
              "選択点群数が500000点以上あるため実行できません\n選択点群の数を減らしてから実行してください。");
    EXPECT_EQ(tingen::TriangleCountText(12), "三角数[12]のTINを作成しました ");
}

TEST(TinGeneration, OnlyShownGroupsCount)
{
    CModelDataMng store;
    store.AddGroup(Grid(3, 1.0f));
    auto hidden = Grid(3, 1.0f);
    hidden->m_nShowPCloud = 0;  // shown through its TIN only
    store.AddGroup(std::move(hidden));
    auto off = Grid(3, 1.0f);
    off->m_nShowGroup = 0;
    store.AddGroup(std::move(off));
    auto noData = Grid(3, 1.0f);
    noData->m_nDataFlag = 0;
    store.AddGroup(std::move(noData));

    const std::vector<SelPCloud> selection{{0, {1, 2}}, {1, {0, 1, 2}}, {2, {0}}, {9, {0}}};
    EXPECT_EQ(tingen::CountSelectedShown(store, selection), 2);
    const auto entries = tingen::ShownEntries(store, selection);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].group, 0);

    const auto shown = tingen::CountShownGroups(store);
    EXPECT_EQ(shown.count, 3);  // group 1 counts through its TIN
    EXPECT_EQ(shown.lastWithPoints, 3);

    const auto candidates = tingen::WholeCloudCandidates(store);
    ASSERT_EQ(candidates.size(), 1u);
    EXPECT_EQ(candidates[0].group, 0);
    EXPECT_EQ(candidates[0].points, 9);
}

TEST(TinGeneration, SamplingThinsOnlyItsGroupAndGivesUpAfterFiftyCells)
{
    CModelDataMng store;
    store.AddGroup(Grid(40, 0.05f));  // 1,600 points 5 cm apart over 2 m
    store.AddGroup(Grid(10, 0.05f));
    const std::int64_t left = tingen::SampleGroupDownTo(*store.GetGroup(0), 500);
    EXPECT_LE(left, 500);
    EXPECT_GT(left, 0);
    EXPECT_EQ(store.GetGroup(1)->GetCloudPointSize(), 100);
    // A limit no cell size reaches: fifty tries, then the points that are left.
    EXPECT_GT(tingen::SampleGroupDownTo(*store.GetGroup(1), 0), 0);
}
