#include "viewer/render/SceneExtents.h"

#include "outside/CModelDataMng.h"
#include "outside/PT.h"
#include "outside/StoreMarkers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <memory>

namespace {

CPCloudMng& AddPoints(CModelDataMng& store, std::initializer_list<std::array<float, 3>> points)
{
    auto group = std::make_unique<CPCloudMng>();
    for (const auto& p : points) group->AddCloudPoint(p[0], p[1], p[2], 0, 0.0);
    group->m_nDataFlag = 1;
    CPCloudMng& ref = *group;
    store.AddGroup(std::move(group));
    return ref;
}

void AddTriangle(CVertexMng& tin, float z)
{
    tin.AddVertex(100, 100, z);
    tin.AddVertex(110, 100, z);
    tin.AddVertex(110, 110, z + 1);
    tin.m_triangles.emplace_back(0, 1, 2);
    tin.CreateGrid();
}

const SceneExtents::Toggles kPointsOn{1, 0, 0, 0};

}  // namespace

TEST(SceneExtents, RootHiddenGivesNothing)
{
    CModelDataMng store;
    AddPoints(store, {{0, 0, 1}});
    store.m_nShowRoot = 0;
    PT lo(7, 7, 7), hi(7, 7, 7);
    EXPECT_EQ(SceneExtents::GetVisibleExtent(store, kPointsOn, 0xFF, 1, lo, hi), 0);
    EXPECT_EQ(lo.x(), 7.0);
}

TEST(SceneExtents, UnsetFloatElevationNeverWidensTheRange)
{
    CModelDataMng store;
    // A first box whose z is the unset marker as stores keep it: a float.
    CVertexMng& unset = store.m_structure[6];
    unset.AddVertex(-50, -50, static_cast<float>(kUnsetDouble));
    unset.AddVertex(50, -50, static_cast<float>(kUnsetDouble));
    unset.AddVertex(50, 50, static_cast<float>(kUnsetDouble));
    unset.m_triangles.emplace_back(0, 1, 2);
    unset.CreateGrid();
    ASSERT_TRUE(IsUnsetValue(unset.GetVertexMinZ()));
    const SceneExtents::Toggles tins{0, 1, 0, 0};
    PT lo, hi;
    ASSERT_EQ(SceneExtents::GetVisibleExtent(store, tins, SceneExtents::kStructures, 0, lo, hi), 1);
    EXPECT_TRUE(IsUnsetValue(lo.z()));
    AddTriangle(store.m_structure[7], 20.0f);
    ASSERT_EQ(SceneExtents::GetVisibleExtent(store, tins, SceneExtents::kStructures, 0, lo, hi), 1);
    EXPECT_DOUBLE_EQ(lo.x(), -50.0);
    EXPECT_DOUBLE_EQ(hi.x(), 110.0);
    EXPECT_DOUBLE_EQ(lo.z(), 20.0);
    EXPECT_DOUBLE_EQ(hi.z(), 21.0);
}

TEST(SceneExtents, AllFlagCountsCloudsWithPointsOff)
{
    CModelDataMng store;
    AddPoints(store, {{0, 0, 1}, {2, 3, 4}});
    const SceneExtents::Toggles off{0, 0, 0, 0};
    PT lo, hi;
    EXPECT_EQ(SceneExtents::GetVisibleExtent(store, off, SceneExtents::kCloudGroups, 0, lo, hi), 0);
    EXPECT_EQ(SceneExtents::GetVisibleExtent(store, off, SceneExtents::kCloudGroups, 1, lo, hi), 1);
    EXPECT_DOUBLE_EQ(hi.z(), 4.0);
}

TEST(SceneExtents, BuildingsNeedTheCadGroupOtherStructuresDoNot)
{
    CModelDataMng store;
    AddTriangle(store.m_structure[0], 10.0f);   // a building set
    AddTriangle(store.m_structure[7], 20.0f);   // a lighting store
    const SceneExtents::Toggles tins{0, 1, 0, 0};
    PT lo, hi;
    ASSERT_EQ(SceneExtents::GetVisibleExtent(store, tins, SceneExtents::kStructures, 0, lo, hi), 1);
    EXPECT_DOUBLE_EQ(lo.z(), 10.0);
    store.m_nShowCAD = 0;
    ASSERT_EQ(SceneExtents::GetVisibleExtent(store, tins, SceneExtents::kStructures, 0, lo, hi), 1);
    EXPECT_DOUBLE_EQ(lo.z(), 20.0);
}

TEST(SceneExtents, IntensityRangeOfShownGroups)
{
    CModelDataMng store;
    CPCloudMng& a = AddPoints(store, {});
    a.AddCloudPoint(0, 0, 0, 0, 5.0);
    a.AddCloudPoint(0, 0, 0, 0, 9.0);
    CPCloudMng& hidden = AddPoints(store, {});
    hidden.AddCloudPoint(0, 0, 0, 0, 100.0);
    hidden.m_nShowGroup = 0;
    double lo = -1, hi = -1;
    ASSERT_EQ(SceneExtents::GetVisibleIntensityRange(store, lo, hi), 1);
    EXPECT_DOUBLE_EQ(lo, 5.0);
    EXPECT_DOUBLE_EQ(hi, 9.0);
}

TEST(SceneExtents, CaptionTextIgnoresTheLocale)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous != nullptr ? previous : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(SceneExtents::CaptionText(7.5), "7.50m");
    EXPECT_EQ(SceneExtents::CaptionText(1234.567), "1234.57m");
    EXPECT_EQ(SceneExtents::CaptionText(0.0), "0.00m");
    std::setlocale(LC_NUMERIC, saved.c_str());
}
