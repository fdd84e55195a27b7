#include "outside/CModelDataMng.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace {

struct P {
    float x, y, z;
    COLORREF colour;
};

std::unique_ptr<CPCloudMng> Group(const std::vector<P>& pts)
{
    auto g = std::make_unique<CPCloudMng>();
    for (const P& p : pts)
        g->AddCloudPoint(p.x, p.y, p.z, p.colour, p.colour * 0.5);
    g->m_nDataFlag = 1;
    return g;
}

std::vector<COLORREF> Colours(const CPCloudMng& g)
{
    std::vector<COLORREF> out;
    for (const auto& p : g.m_points)
        out.push_back(p.colour);
    return out;
}

// Two 1 m cells in x: cell 0 holds colours 1..3, cell 1 holds 4..5.
const std::vector<P> kTwoCells = {
    {0.2f, 0.5f, 5.0f, 1}, {0.7f, 0.1f, 2.0f, 2}, {1.5f, 0.5f, 9.0f, 4}, {0.9f, 0.9f, 7.0f, 3}, {1.1f, 0.2f, 1.0f, 5},
};

TEST(GridFilterTest, FirstLowestHighestOfEachCell)
{
    struct Case {
        int (CModelDataMng::*filter)(float, float, float, const OutsideProgressFn&);
        std::vector<COLORREF> kept;
    };
    const Case cases[] = {
        {&CModelDataMng::FilterPointGridFilter, {1, 4}},
        {&CModelDataMng::FilterPointGridFilter_GridMinZ, {2, 5}},
        {&CModelDataMng::FilterPointGridFilter_GridMaxZ, {4, 3}},
    };
    for (const Case& c : cases) {
        CModelDataMng store;
        store.AddGroup(Group(kTwoCells));
        ASSERT_EQ((store.*c.filter)(1.0f, 1.0f, 100.0f, {}), 1);
        const CPCloudMng& g = *store.GetGroup(0);
        EXPECT_EQ(Colours(g), c.kept); // original records, original order
        EXPECT_EQ(g.m_points[0].intensity, c.kept[0] * 0.5);
    }
}

TEST(GridFilterTest, BoundsRecomputedAndHiddenGroupsUntouched)
{
    CModelDataMng store;
    store.AddGroup(Group(kTwoCells));
    store.AddGroup(Group(kTwoCells));
    store.GetGroup(1)->m_nShowGroup = 0;
    ASSERT_EQ(store.FilterPointGridFilter_GridMinZ(1.0f, 1.0f, 100.0f), 1);
    EXPECT_EQ(store.GetGroup(0)->GetPCloudMaxZ(), 2.0f);
    EXPECT_EQ(store.GetGroup(0)->GetPCloudMaxX(), 1.1f);
    EXPECT_EQ(store.GetGroup(1)->GetCloudPointSize(), 5);
}

TEST(GridFilterTest, TinyCellsDoNotOverflowKeys)
{
    // 1e-4 m cells over a 2 km extent: 2e7 cells an axis, more than 64 bits in all.
    CModelDataMng store;
    store.AddGroup(Group({{0, 0, 0, 1}, {2000, 2000, 2000, 2}, {0, 0, 0, 3}, {1000, 1000, 1000, 4}}));
    ASSERT_EQ(store.FilterPointGridFilter(1e-4f, 1e-4f, 1e-4f), 1);
    EXPECT_EQ(Colours(*store.GetGroup(0)), (std::vector<COLORREF>{1, 2, 4}));

    // The lowest point per cell, with keys of more than 32 bits and with keys that
    // do not fit 64 bits.
    for (const float lz : {1e4f, 1e-5f}) {
        CModelDataMng low;
        low.AddGroup(Group({{0, 0, 1e-6f, 1}, {2000, 2000, 2000, 2}, {0, 0, 0, 3}}));
        ASSERT_EQ(low.FilterPointGridFilter_GridMinZ(1e-5f, 1e-5f, lz), 1);
        EXPECT_EQ(Colours(*low.GetGroup(0)), (std::vector<COLORREF>{2, 3})) << lz;
    }
}

TEST(GridFilterTest, BadSizesAndCancelLeaveGroupsAsTheyWere)
{
    for (const float bad : {0.0f, -1.0f, NAN, INFINITY}) {
        CModelDataMng store;
        store.AddGroup(Group(kTwoCells));
        EXPECT_EQ(store.FilterPointGridFilter(bad, 1.0f, 1.0f), 0);
        EXPECT_EQ(store.GetGroup(0)->GetCloudPointSize(), 5);
    }
    CModelDataMng store;
    store.AddGroup(Group(kTwoCells));
    store.AddGroup(Group(kTwoCells));
    int calls = 0;
    // Stop while the second group is worked on: the first must not change either.
    EXPECT_EQ(store.FilterPointGridFilter(1, 1, 1, [&calls](double p) { return ++calls < 5 || p < 50.0; }), 0);
    EXPECT_EQ(store.GetGroup(0)->GetCloudPointSize(), 5);
    EXPECT_EQ(store.GetGroup(1)->GetCloudPointSize(), 5);
    EXPECT_EQ(store.FilterPointGridFilter(1, 1, 1), 1); // an empty store or group is fine
}

TEST(RadiusFilterTest, KeepsPointsWithEnoughNeighbours)
{
    // A cluster of 4 points 0.1 m apart, a pair 5 m away, a loner.
    CModelDataMng store;
    store.AddGroup(Group({{0, 0, 0, 1}, {0.1f, 0, 0, 2}, {0, 0.1f, 0, 3}, {0.1f, 0.1f, 0, 4},
                          {5, 5, 0, 5}, {5.1f, 5, 0, 6}, {20, 20, 0, 7}}));
    ASSERT_EQ(store.FilterPointRadius(0.5f, 2), 1);
    EXPECT_EQ(Colours(*store.GetGroup(0)), (std::vector<COLORREF>{1, 2, 3, 4}));

    CModelDataMng one;
    one.AddGroup(Group({{5, 5, 0, 5}, {5.1f, 5, 0, 6}, {20, 20, 0, 7}}));
    ASSERT_EQ(one.FilterPointRadius(0.5f, 1), 1);
    EXPECT_EQ(Colours(*one.GetGroup(0)), (std::vector<COLORREF>{5, 6}));
    EXPECT_EQ(one.FilterPointRadius(0.0f, 1), 0);
    EXPECT_EQ(one.FilterPointRadius(1.0f, -1), 0);
}

TEST(OutlierFilterTest, RemovesFarPoint)
{
    std::vector<P> pts;
    COLORREF c = 1;
    for (int i = 0; i < 10; ++i)
        for (int j = 0; j < 10; ++j)
            pts.push_back({static_cast<float>(i), static_cast<float>(j), 0.0f, c++});
    pts.push_back({100.0f, 100.0f, 0.0f, 999});
    CModelDataMng store;
    store.AddGroup(Group(pts));
    ASSERT_EQ(store.FilterPointOutlierRemoval(8, 1.0f), 1);
    const auto colours = Colours(*store.GetGroup(0));
    EXPECT_EQ(std::count(colours.begin(), colours.end(), 999u), 0);
    EXPECT_GE(colours.size(), 90u);
    EXPECT_EQ(store.FilterPointOutlierRemoval(0, 1.0f), 0);
}

TEST(OutlierFilterTest, FewPointsAndDuplicatesAreKept)
{
    CModelDataMng store;
    store.AddGroup(Group({{0, 0, 0, 1}, {0, 0, 0, 2}}));
    ASSERT_EQ(store.FilterPointOutlierRemoval(50, 1.0f), 1);
    EXPECT_EQ(store.GetGroup(0)->GetCloudPointSize(), 2);
    CModelDataMng same;
    same.AddGroup(Group({{1, 1, 1, 1}, {1, 1, 1, 2}, {1, 1, 1, 3}, {1, 1, 1, 4}}));
    ASSERT_EQ(same.FilterPointOutlierRemoval(2, 0.0f), 1);
    EXPECT_EQ(same.GetGroup(0)->GetCloudPointSize(), 4);
}

} // namespace
