#include "viewer/commands/Deletion.h"

#include "EditFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace editfixture;

namespace {

// A group of points at heights 0..9 (one each), shown.
std::unique_ptr<CPCloudMng> Column(float x)
{
    auto g = std::make_unique<CPCloudMng>();
    for (int i = 0; i < 10; ++i)
        g->AddCloudPoint(x, static_cast<float>(i), static_cast<float>(i), 0, 0.0);
    g->CreateGrid();
    return g;
}

void AddFigures(CModelDataMng& store, std::initializer_list<std::uint8_t> layers)
{
    int n = 0;
    for (std::uint8_t id : layers) {
        CElmData e;
        e.m_nKind = id;
        e.m_nAttr = n++;
        store.m_elmList.push_back(e);
    }
    store.RebuildCadLayers();
}

std::vector<int> Attrs(const CModelDataMng& store)
{
    std::vector<int> a;
    for (const CElmData& e : store.m_elmList)
        a.push_back(e.m_nAttr);
    return a;
}

} // namespace

TEST(DeletionRange, BoundsInEitherOrderAndUnsetAsZero)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double a, b, lo, hi;
    } cases[] = {{5, 1, 1, 5}, {1, 5, 1, 5}, {3, 3, 3, 3}, {1e-16, 4, 0, 4}, {-2, 1e-16, -2, 0}, {1e-16, 1e-16, 0, 0}};
    for (const Case& c : cases) {
        auto r = deletion::OrderBounds(c.a, c.b);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->lo, c.lo);
        EXPECT_EQ(r->hi, c.hi);
    }
    EXPECT_FALSE(deletion::OrderBounds(nan, 1.0));
    EXPECT_FALSE(deletion::OrderBounds(1.0, nan));
}

TEST(DeletionElevation, InsideAndOutsideTable)
{
    struct Case {
        double lo, hi;
        bool outside;
        int left;
        bool changed;
    } cases[] = {
        {2, 4, false, 7, true},   {2, 4, true, 3, true},   {-1, 20, false, 0, true}, {-1, 20, true, 10, false},
        {20, 30, false, 10, false}, {20, 30, true, 0, true}, {9, 9, false, 9, true},  {0.5, 0.7, false, 10, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lo << ".." << c.hi << (c.outside ? " outside" : " inside"));
        CModelDataMng store;
        store.AddGroup(Column(0.0f));
        auto hidden = Column(5.0f);
        hidden->m_nShowGroup = 0;
        store.AddGroup(std::move(hidden));
        const auto changed = deletion::DeleteByElevation(store, {c.lo, c.hi}, c.outside);
        EXPECT_EQ(store.GetGroup(0)->GetCloudPointSize(), c.left);
        EXPECT_EQ(store.GetGroup(1)->GetCloudPointSize(), 10) << "hidden group untouched";
        EXPECT_EQ(!changed.empty(), c.changed);
    }
}

TEST(DeletionElevation, NothingWhenTheRootIsHidden)
{
    CModelDataMng store;
    store.AddGroup(Column(0.0f));
    store.m_nShowRoot = 0;
    EXPECT_TRUE(deletion::DeleteByElevation(store, {0, 100}, false).empty());
    EXPECT_EQ(store.GetGroup(0)->GetCloudPointSize(), 10);
}

TEST(DeletionPoints, SelectedPointsGoAndBadReferencesAreSkipped)
{
    CModelDataMng store;
    store.AddGroup(Column(0.0f));
    auto hidden = Column(5.0f);
    hidden->m_nShowPCloud = 0;
    store.AddGroup(std::move(hidden));
    std::vector<SelPCloud> sel = {
        {0, {1, 3, 3, 99, (std::uint64_t{7} << 32) | 5}},  // 3 twice, 99 out of range, high bits ignored
        {1, {0, 1}},                                       // hidden
        {7, {0}},                                          // no such group
        {-1, {0}},
    };
    EXPECT_EQ(deletion::CountShownSelectedPoints(store, sel), 4);
    const auto changed = deletion::DeleteSelectedPoints(store, sel);
    EXPECT_EQ(changed, (std::vector<std::int64_t>{0}));
    EXPECT_EQ(store.GetGroup(0)->GetCloudPointSize(), 7);
    EXPECT_EQ(store.GetGroup(1)->GetCloudPointSize(), 10);
    store.m_nShowRoot = 0;
    EXPECT_EQ(deletion::CountShownSelectedPoints(store, sel), 0);
}

// Several buckets may name one group; every group named keeps its other points in
// order, with a grid over exactly those points, and is reported once.
TEST(DeletionPoints, BucketsOfOneGroupMergeAndTheRestKeepTheirOrder)
{
    struct Case {
        const char* name;
        std::vector<SelPCloud> selection;
        std::vector<float> left0, left1;  // heights left in groups 0 and 1
        std::vector<std::int64_t> changed;
    };
    const std::vector<float> all = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    const Case cases[] = {
        {"two buckets", {{0, {1, 2}}, {0, {2, 8}}}, {0, 3, 4, 5, 6, 7, 9}, all, {0}},
        {"groups in reverse", {{1, {9, 0}}, {0, {5}}}, {0, 1, 2, 3, 4, 6, 7, 8, 9}, {1, 2, 3, 4, 5, 6, 7, 8}, {0, 1}},
        {"only bad references", {{0, {10, 99}}}, all, all, {0}},
        {"empty bucket", {{0, {}}}, all, all, {}},
        {"whole group", {{1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}}}, all, {}, {1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CModelDataMng store;
        store.AddGroup(Column(0.0f));
        store.AddGroup(Column(5.0f));
        EXPECT_EQ(deletion::DeleteSelectedPoints(store, c.selection), c.changed);
        const std::vector<float>* left[] = {&c.left0, &c.left1};
        for (int g = 0; g < 2; ++g) {
            const CPCloudMng& group = *store.GetGroup(g);
            std::vector<float> heights;
            for (const auto& p : group.m_points)
                heights.push_back(p.z);
            EXPECT_EQ(heights, *left[g]) << "group " << g;
            std::vector<int> seen(group.m_points.size(), 0);
            for (const GridCell& cell : group.m_grid)
                for (std::uint32_t i : cell.indices)
                    ASSERT_LT(i, seen.size());
            for (const GridCell& cell : group.m_grid)
                for (std::uint32_t i : cell.indices)
                    ++seen[i];
            EXPECT_EQ(seen, std::vector<int>(group.m_points.size(), 1)) << "group " << g;
            if (!heights.empty()) {
                EXPECT_EQ(group.GetPCloudMinZ(), heights.front());
                EXPECT_EQ(group.GetPCloudMaxZ(), heights.back());
            }
        }
    }
}

TEST(DeletionCad, RepeatsOrderAndRangeOfTheSelectionNeverEraseTheWrongFigure)
{
    struct Case {
        std::vector<std::int64_t> selected;
        std::vector<int> left;
    } cases[] = {
        {{1, 1}, {0, 2, 3, 4}},
        {{3, 0, 3, -1, 40}, {1, 2, 4}},
        {{4, 3, 2, 1, 0}, {}},
        {{}, {0, 1, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        CModelDataMng store;
        AddFigures(store, {1, 1, 2, 1, 2});
        deletion::DeleteSelectedCadFigures(store, c.selected);
        EXPECT_EQ(Attrs(store), c.left);
    }
}

TEST(DeletionCad, FiguresOnHiddenLayersStay)
{
    CModelDataMng store;
    AddFigures(store, {1, 2, 1});
    store.m_cadLayers[static_cast<std::size_t>(store.FindCadLayer(2))].show = 0;
    EXPECT_EQ(deletion::CountSelectedCadOnShownLayers(store, {0, 1, 2}), 2);
    EXPECT_EQ(deletion::DeleteSelectedCadFigures(store, {0, 1, 2}), 2);
    EXPECT_EQ(Attrs(store), (std::vector<int>{1}));
    store.m_nShowCAD = 0;
    EXPECT_EQ(deletion::CountSelectedCadOnShownLayers(store, {0}), 0);
}

TEST(DeletionAllShown, HiddenContentAndStructuresStay)
{
    CModelDataMng store;
    Fill(store);  // group 1 has its points hidden
    AddFigures(store, {1, 2});
    store.m_cadLayers[static_cast<std::size_t>(store.FindCadLayer(2))].show = 0;
    store.m_structure[0].AddVertex(1, 1, 1);
    store.m_viewCloud.AddCloudPoint(1, 1, 1, 0, 0.0);
    EXPECT_TRUE(deletion::AnythingHidden(store));
    deletion::DeleteAllShown(store);
    EXPECT_EQ(Counts(store), (std::vector<int>{0, 103, 0}));
    EXPECT_EQ(Attrs(store), (std::vector<int>{1}));
    EXPECT_EQ(store.m_structure[0].GetVertexSize(), 1);
    EXPECT_EQ(store.m_viewCloud.GetCloudPointSize(), 0);
}

TEST(DeletionAllShown, AnythingHiddenTable)
{
    CModelDataMng store;
    store.AddGroup(Column(0.0f));
    AddFigures(store, {1});
    EXPECT_FALSE(deletion::AnythingHidden(store));
    store.GetGroup(0)->m_nShowTin = 0;
    EXPECT_TRUE(deletion::AnythingHidden(store));
    store.GetGroup(0)->m_nShowTin = 1;
    store.m_nShowPartLn = 0;
    EXPECT_TRUE(deletion::AnythingHidden(store));
    store.m_nShowPartLn = 1;
    store.m_cadLayers[0].show = 0;
    EXPECT_TRUE(deletion::AnythingHidden(store));
}
