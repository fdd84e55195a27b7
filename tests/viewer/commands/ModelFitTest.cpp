#include "viewer/commands/ModelFit.h"

#include "outside/CModelDataMng.h"
#include "outside/StoreMarkers.h"
#include "viewer/render/SceneExtents.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(ModelFit, ZoomFillsNinetyPercentAndIsClamped)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* name;
        double wx1, wy1, wx2, wy2;
        int w, h;
        std::optional<float> zoom;
    } cases[] = {
        // 30 x 20 box centred in a 200 x 150 window: x limits 0.9 * 100 / 15 = 6.
        {"box", 85, 65, 115, 85, 200, 150, 6.0f},
        // Height limits: 0.9 * 75 / 5 = 13.5 is below 0.9 * 100 / 5 = 18.
        {"height limits", 95, 70, 105, 80, 200, 150, 13.5f},
        // A single point sits on the centre: ratios are -inf and NaN -> 0.1.
        {"single point", 100, 75, 100, 75, 200, 150, 0.1f},
        {"zero width in plan", 100, 65, 100, 85, 200, 150, 0.1f},
        // A tiny box asks for more than the limit.
        {"tiny box", 99.9999, 74.9999, 100.0001, 75.0001, 200, 150, 100000.0f},
        {"no ratio is a number", nan, nan, nan, nan, 200, 150, 0.1f},
        {"zero width window", 85, 65, 115, 85, 0, 150, std::nullopt},
        {"zero height window", 85, 65, 115, 85, 200, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto zoom = FitZoom(c.wx1, c.wy1, c.wx2, c.wy2, c.w, c.h);
        ASSERT_EQ(zoom.has_value(), c.zoom.has_value()) << c.name;
        if (zoom) {
            EXPECT_FALSE(std::isnan(*zoom)) << c.name;
            EXPECT_NEAR(*zoom, *c.zoom, *c.zoom * 1e-5) << c.name;
        }
    }
}

TEST(ModelFit, ExtentTakesEveryKindShownOrNot)
{
    CModelDataMng store;
    PT min, max;
    EXPECT_EQ(SceneExtents::GetModelExtent(store, min, max), 0);

    auto hidden = std::make_unique<CPCloudMng>();
    hidden->AddCloudPoint(10.0f, 20.0f, 5.0f, 0, 0.0);
    hidden->AddCloudPoint(12.0f, 22.0f, 7.0f, 0, 0.0);
    hidden->CreateGrid();
    hidden->m_nShowGroup = 0;
    store.AddGroup(std::move(hidden));
    // A CAD figure without elevation widens plan only.
    CElmData elm;
    elm.m_ptLists.push_back({PT(-5.0, 21.0, kUnsetDouble), PT(11.0, 40.0, static_cast<double>(kNoElevationZ))});
    store.m_elmList.push_back(elm);
    // A part line beyond both.
    store.m_partLineVertex3D.AddVertex(50.0f, 20.0f, 1.0f);
    store.m_partLineVertex3D.AddVertex(51.0f, 21.0f, 9.0f);
    store.m_partLine3D.push_back({0, 1, 0});
    // A line with a bad index adds nothing.
    store.m_partLine3D.push_back({0, 7, 0});

    ASSERT_EQ(SceneExtents::GetModelExtent(store, min, max), 1);
    EXPECT_DOUBLE_EQ(min.x(), -5.0);
    EXPECT_DOUBLE_EQ(min.y(), 20.0);
    EXPECT_DOUBLE_EQ(max.x(), 51.0);
    EXPECT_DOUBLE_EQ(max.y(), 40.0);
    EXPECT_DOUBLE_EQ(min.z(), 1.0);
    EXPECT_DOUBLE_EQ(max.z(), 9.0);
}

TEST(ModelFit, DataWithoutElevationLeavesZUnset)
{
    CModelDataMng store;
    CElmData elm;
    elm.m_ptLists.push_back({PT(0.0, 0.0, kUnsetDouble), PT(3.0, 4.0, kUnsetDouble)});
    store.m_elmList.push_back(elm);
    PT min, max;
    ASSERT_EQ(SceneExtents::GetModelExtent(store, min, max), 1);
    EXPECT_TRUE(IsUnsetValue(min.z()));
    EXPECT_TRUE(IsUnsetValue(max.z()));
    EXPECT_DOUBLE_EQ(max.x(), 3.0);
}
