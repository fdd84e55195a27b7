#include "viewer/commands/PointSampling.h"

#include "EditFixtures.h"

#include "outside/CModelDataMng.h"
#include "viewer/app/CommandRouter.h"
#include "viewer/render/CommandMap.h"
#include "viewer/render/LongWorkGuard.h"
#include "viewer/render/ViewSettings.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using sampling::Filter;

using namespace editfixture;

sampling::Params SmallParams(Filter f)
{
    ViewSettings s;
    s.neighbourCount = 5;
    return sampling::Params::FromSettings(s, f);
}

int RunDirect(CModelDataMng& store, Filter f, const sampling::Params& p)
{
    switch (f) {
    case Filter::Grid: return store.FilterPointGridFilter(p.cell[0], p.cell[1], p.cell[2]);
    case Filter::GridMinZ: return store.FilterPointGridFilter_GridMinZ(p.cell[0], p.cell[1], p.cell[2]);
    case Filter::GridMaxZ: return store.FilterPointGridFilter_GridMaxZ(p.cell[0], p.cell[1], p.cell[2]);
    case Filter::Radius: return store.FilterPointRadius(p.radius, p.minimumPoints);
    case Filter::Outlier: return store.FilterPointOutlierRemoval(p.neighbourCount, p.deviation);
    }
    return -1;
}

class EveryFilter : public ::testing::TestWithParam<Filter> {};

} // namespace

TEST_P(EveryFilter, ThinsShownGroupsAsTheStoreFilterAloneAndLeavesHiddenOnes)
{
    CModelDataMng store, reference;
    Fill(store);
    Fill(reference);
    const sampling::Params p = SmallParams(GetParam());
    EXPECT_EQ(sampling::RunStoreFilter(store, p), 1);
    EXPECT_EQ(RunDirect(reference, GetParam(), p), 1);
    const std::vector<int> counts = Counts(store);
    EXPECT_EQ(counts, Counts(reference));
    EXPECT_LT(counts[0], 103);
    EXPECT_EQ(counts[1], 103) << "the hidden group is untouched";
    EXPECT_LT(counts[2], 103);
}

TEST_P(EveryFilter, AStoppedRunLeavesEveryGroupAsItWas)
{
    CModelDataMng store;
    Fill(store);
    EXPECT_EQ(sampling::RunStoreFilter(store, SmallParams(GetParam()), [](double) { return false; }), 0);
    EXPECT_EQ(Counts(store), (std::vector<int>{103, 103, 103}));
}

INSTANTIATE_TEST_SUITE_P(Filters, EveryFilter,
                         ::testing::Values(Filter::Grid, Filter::GridMinZ, Filter::GridMaxZ, Filter::Radius,
                                           Filter::Outlier));

TEST(PointSamplingParams, EachFilterTakesItsOwnSettingsAsFloats)
{
    ViewSettings s;
    s.gridCellM = {1.0, 2.0, 3.0};
    s.lowestCellM = {4.0, 5.0, 6.0};
    s.highestCellM = {7.0, 8.0, 9.0};
    s.radiusM = 0.25;
    s.minimumPoints = 7;
    s.standardDeviation = 2.5;
    s.neighbourCount = 11;
    struct Case {
        Filter filter;
        std::array<float, 3> cell;
    } cases[] = {{Filter::Grid, {1, 2, 3}}, {Filter::GridMinZ, {4, 5, 6}}, {Filter::GridMaxZ, {7, 8, 9}}};
    for (const Case& c : cases)
        EXPECT_EQ(sampling::Params::FromSettings(s, c.filter).cell, c.cell);
    const sampling::Params r = sampling::Params::FromSettings(s, Filter::Radius);
    EXPECT_FLOAT_EQ(r.radius, 0.25f);
    EXPECT_EQ(r.minimumPoints, 7);
    const sampling::Params o = sampling::Params::FromSettings(s, Filter::Outlier);
    EXPECT_EQ(o.neighbourCount, 11);
    EXPECT_FLOAT_EQ(o.deviation, 2.5f);
}

TEST(PointSamplingNames, GroupsThatWereThereKeepNameMemoAndColour)
{
    CModelDataMng store;
    Fill(store);
    sampling::NameCreatedGroups(store, store.GetGroupCount());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(store.GetGroup(i)->m_memo, "memo");
        EXPECT_EQ(store.GetGroup(i)->m_nColor, 0x123456u);
    }
    EXPECT_EQ(store.GetGroup(2)->m_name, "c");
}

TEST(PointSamplingNames, AGroupARunCreatedGetsAnEmptyMemoAndTheDefaultColour)
{
    CModelDataMng store;
    Fill(store);
    store.AddGroup(Patch(300.0f, "a"));
    sampling::NameCreatedGroups(store, 3);
    const CPCloudMng& made = *store.GetGroup(3);
    EXPECT_TRUE(made.m_memo.empty());
    EXPECT_EQ(made.m_nColor, CModelDataMng::GetDefPointCloudGroupCol(3));
    EXPECT_EQ(store.GetGroup(0)->m_name, "a");
}

TEST(PointSamplingNames, ASingleGroupIsNeverRenamed)
{
    CModelDataMng store;
    store.AddGroup(Patch(0.0f, "only"));
    sampling::NameCreatedGroups(store, 0);
    EXPECT_EQ(store.GetGroup(0)->m_name, "only");
    EXPECT_EQ(store.GetGroup(0)->m_memo, "memo");
}

TEST(LongWorkRouting, TheRouterRefusesCommandsWhileLongWorkRuns)
{
    CommandMap map;
    int runs = 0;
    map.On(1, [&] { ++runs; });
    CommandRouter router;
    router.SetChain({&map});
    {
        LongWorkGuard working(LongWorkGuard::Kind::Other);
        EXPECT_FALSE(router.Route(1));
    }
    EXPECT_EQ(runs, 0);
    EXPECT_TRUE(router.Route(1));
    EXPECT_EQ(runs, 1);
}
