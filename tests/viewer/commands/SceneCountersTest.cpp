#include "viewer/commands/SceneCounters.h"

#include "outside/CModelDataMng.h"

#include <gtest/gtest.h>

#include <limits>

TEST(SceneCounters, ThousandsSeparators)
{
    struct Case {
        std::int64_t value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {999, "999"},
        {1000, "1,000"},
        {-1000, "-1,000"},
        {1234567, "1,234,567"},
        {-999999, "-999,999"},
        {3000000000LL, "3,000,000,000"},
        {std::numeric_limits<std::int64_t>::min(), "-9,223,372,036,854,775,808"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatThousands(c.value), c.text) << c.value;
}

TEST(SceneCounters, CountOnlyWhatIsShown)
{
    CModelDataMng store;
    auto shown = std::make_unique<CPCloudMng>();
    for (int i = 0; i < 5; ++i)
        shown->AddCloudPoint(static_cast<float>(i), 0.0f, 0.0f, 0, 0.0);
    shown->AddVertex(0, 0, 0);
    shown->AddVertex(1, 0, 0);
    shown->AddVertex(0, 1, 0);
    shown->m_triangles.emplace_back(0, 1, 2);
    auto hiddenPoints = std::make_unique<CPCloudMng>();
    hiddenPoints->AddCloudPoint(0.0f, 0.0f, 0.0f, 0, 0.0);
    hiddenPoints->m_nShowPCloud = 0;
    hiddenPoints->m_triangles.emplace_back(0, 0, 0);  // its TIN is still shown
    store.AddGroup(std::move(shown));
    store.AddGroup(std::move(hiddenPoints));
    store.m_cadTin.m_triangles.resize(3);
    store.m_structure[CModelDataMng::kStructureSlotCount + 6].m_triangles.resize(4);  // second store, road bridge
    store.m_viewCloud.AddCloudPoint(0.0f, 0.0f, 0.0f, 0, 0.0);

    EXPECT_EQ(CountShownPoints(store), 6);
    EXPECT_EQ(CountShownTinTriangles(store), 1 + 1 + 3 + 4);

    store.m_nShowStructure[CModelDataMng::kRoadBridge] = 0;
    store.m_nShowCADTin = 0;
    EXPECT_EQ(CountShownTinTriangles(store), 2);

    store.m_nShowRoot = 0;
    EXPECT_EQ(CountShownPoints(store), 0);
    EXPECT_EQ(CountShownTinTriangles(store), 0);
}
