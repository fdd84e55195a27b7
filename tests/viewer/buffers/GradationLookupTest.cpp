#include "viewer/buffers/GradationLookup.h"
#include "viewer/buffers/GradationTable.h"

#include "outside/CGradationSetting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// Red at 255, green (0x00FF00 as COLORREF 0x00FF00) at 128, blue at 0.
const std::vector<ColorConf> kStops = {{255, 0x0000FF}, {128, 0x00FF00}, {0, 0xFF0000}};

struct LookupCase {
    const char* name;
    float t;
    std::vector<ColorConf> stops;
    float r, g, b;
};

class LookupGradationColorTest : public ::testing::TestWithParam<LookupCase> {};

}  // namespace

TEST_P(LookupGradationColorTest, Colour)
{
    const LookupCase& c = GetParam();
    float r = -1, g = -1, b = -1;
    LookupGradationColor(c.t, r, g, b, &c.stops);
    EXPECT_NEAR(r, c.r, 1e-6) << c.name;
    EXPECT_NEAR(g, c.g, 1e-6) << c.name;
    EXPECT_NEAR(b, c.b, 1e-6) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LookupGradationColorTest,
    ::testing::Values(
        LookupCase{"onStop", 128.0f, kStops, 0, 1, 0},
        LookupCase{"top", 255.0f, kStops, 1, 0, 0},
        LookupCase{"bottom", 0.0f, kStops, 0, 0, 1},
        LookupCase{"between", 64.0f, kStops, 0, 0.5f, 0.5f},
        LookupCase{"nan", std::numeric_limits<float>::quiet_NaN(), kStops, 0, 0, 0},
        LookupCase{"belowZero", -1.0f, kStops, 0, 0, 1},
        LookupCase{"above255", 300.0f, kStops, 1, 0, 0},
        LookupCase{"noStopAbove", 200.0f, {{128, 0x00FF00}, {0, 0xFF0000}}, 0, 1, 0},
        LookupCase{"noStopBelow", 10.0f, {{255, 0x0000FF}, {128, 0x00FF00}}, 0, 1, 0},
        LookupCase{"unsorted", 100.0f, {{0, 0xFF0000}, {255, 0x0000FF}, {128, 0x00FF00}}, 0, 1, 0},
        LookupCase{"single", 17.0f, {{90, 0x336699}}, 0x99 / 255.0f, 0x66 / 255.0f, 0x33 / 255.0f}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LookupGradationColor, EmptyOrMissingListLeavesOutputs)
{
    float r = 0.25f, g = 0.5f, b = 0.75f;
    const std::vector<ColorConf> empty;
    LookupGradationColor(10.0f, r, g, b, &empty);
    LookupGradationColor(10.0f, r, g, b, nullptr);
    EXPECT_EQ(r, 0.25f);
    EXPECT_EQ(g, 0.5f);
    EXPECT_EQ(b, 0.75f);
}

TEST(ApplyBrightness, TowardsWhiteOrBlack)
{
    EXPECT_FLOAT_EQ(ApplyBrightness(100, 0.3f), 1.0f);
    EXPECT_FLOAT_EQ(ApplyBrightness(-100, 0.3f), 0.0f);
    EXPECT_FLOAT_EQ(ApplyBrightness(0, 0.3f), 0.3f);
    EXPECT_FLOAT_EQ(ApplyBrightness(50, 0.5f), 0.75f);
    EXPECT_FLOAT_EQ(ApplyBrightness(-50, 0.5f), 0.25f);
}

TEST(GradationTable, SameBitsAsTheLookup)
{
    const std::vector<std::vector<ColorConf>> lists = {
        kStops,
        {{255, 0x0000FF}, {200, 0x12ABCD}, {199, 0x00FFFF}, {17, 0x808080}, {1, 0x010203}, {0, 0xFF0000}},
        {{0, 0xFF0000}, {255, 0x0000FF}},  // out of order: falls back
        {{90, 0x336699}}};
    for (const auto& stops : lists) {
        const GradationTable table(&stops);
        for (int i = -40; i <= 255 * 16 + 40; ++i) {
            const float t = static_cast<float>(i) / 16.0f;
            float r1 = 0, g1 = 0, b1 = 0, r2 = 0, g2 = 0, b2 = 0;
            LookupGradationColor(t, r1, g1, b1, &stops);
            table.Lookup(t, r2, g2, b2);
            ASSERT_EQ(r1, r2) << t;
            ASSERT_EQ(g1, g2) << t;
            ASSERT_EQ(b1, b2) << t;
        }
    }
}
