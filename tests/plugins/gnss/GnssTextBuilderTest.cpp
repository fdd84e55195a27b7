#include "plugins/gnss/GnssTextBuilder.h"

#include <gtest/gtest.h>

namespace mod04827 {
namespace {

GnssLimits ControlLimits()
{
    GnssLimits l;
    l.newPointHorizontalCm = 10;
    l.newPointHeightCm = 20;
    l.ringHorizontal = 20;
    l.ringHeight = 30;
    l.duplicateHorizontal = 20;
    l.duplicateHeight = 30;
    l.traverseA = 100;
    l.traverseB = 20;
    l.traverseC = 150;
    l.traverseD = 30;
    return l;
}

GnssLimits HeightLimits()
{
    GnssLimits l;
    l.halfHorizontal = 20;
    l.halfHeight = 30;
    l.knownClosure = 15;
    l.slopeResidual = 10;
    l.assumedClosure = 25;
    l.assumedResidual = 20;
    return l;
}

constexpr std::array<short, 5> kAuto{0, 0, 0, 0, 0};

TEST(GnssTextBuilder, ControlWithoutTraversesHasThreeAndTwoLines)
{
    GnssQuantities q;
    const GnssTexts t = GnssTextBuilder(0, kAuto, ControlLimits(), q).Build();
    ASSERT_EQ(t.requirements.size(), 3u);
    EXPECT_EQ(t.requirements[0], "(絶対)新点水平位置の標準偏差が10cm以内、新点標高の標準偏差が20cm以内");
    ASSERT_EQ(t.relativeRequirements.size(), 2u);
    EXPECT_EQ(t.absoluteRequirement, "新点水平位置の\r\n標準偏差が10cm以内、\r\n新点標高の\r\n標準偏差が20cm以内");
    EXPECT_TRUE(t.absoluteResult.empty());   // no new point
    EXPECT_TRUE(t.relativeResults.empty());  // nothing counted
}

TEST(GnssTextBuilder, ControlWithTraversesAddsTheFourthAndThirdLines)
{
    GnssQuantities q;
    q.traversesApply = true;
    q.traverse.Add(0.001, 0.002, 0.003);
    const GnssTexts t = GnssTextBuilder(0, kAuto, ControlLimits(), q).Build();
    ASSERT_EQ(t.requirements.size(), 4u);
    EXPECT_EQ(t.requirements[3], "結合多角又は単路線の閉合差が水平100mm+20mm√N以内、高さが150mm+30mm√N以内");
    ASSERT_EQ(t.relativeRequirements.size(), 3u);
    ASSERT_EQ(t.relativeResults.size(), 1u);
    EXPECT_EQ(t.relativeResults[0], "結合多角の閉合差水平2mm、高さ3mm");
}

TEST(GnssTextBuilder, EverySwitchManualGivesEmptyOutputs)
{
    for (int kind : {0, 1, 2, 3}) {
        GnssQuantities q;
        q.ring.Add(0.01, 0.01, 0.01);
        q.newPoints.push_back({1, 0.01, 0.01});
        q.halves.push_back({true, true, 0.01, 0.01, 0.01});
        q.slopeResidual = {true, 0.004};
        const GnssTexts t = GnssTextBuilder(kind, {1, 1, 1, 1, 1}, ControlLimits(), q).Build();
        EXPECT_TRUE(t.requirements.empty()) << kind;
        EXPECT_TRUE(t.absoluteRequirement.empty()) << kind;
        EXPECT_TRUE(t.absoluteResult.empty()) << kind;
        EXPECT_TRUE(t.relativeRequirements.empty()) << kind;
        EXPECT_TRUE(t.relativeResults.empty()) << kind;
    }
}

struct RingCase {
    const char* name;
    double n, e, u;
    const char* expected;
};
class RingRounding : public ::testing::TestWithParam<RingCase> {};

// printf's "%.f" rounds 14.5 to 14; the table rounds half up.
TEST_P(RingRounding, PrintsHalfUpFromTheLargerComponent)
{
    GnssQuantities q;
    q.ring.Add(GetParam().n, GetParam().e, GetParam().u);
    const GnssTexts t = GnssTextBuilder(0, kAuto, ControlLimits(), q).Build();
    ASSERT_EQ(t.relativeResults.size(), 1u);
    EXPECT_EQ(t.relativeResults[0], GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(Cases, RingRounding, ::testing::Values(
    RingCase{"larger_not_vector_sum", 0.0123, 0.0154, 0.002, "基線ベクトルの環閉合差水平15mm、高さ2mm"},
    RingCase{"half_up_u", 0.001, 0.001, 0.0145, "基線ベクトルの環閉合差水平1mm、高さ15mm"},
    RingCase{"negative_values", -0.0125, 0.0, -0.0025, "基線ベクトルの環閉合差水平13mm、高さ3mm"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GnssTextBuilder, AbsoluteResultHalfUpAndKindRules)
{
    GnssQuantities q;
    q.newPoints.push_back({1, 0.0125, 0.0105});
    q.newPoints.push_back({2, 0.5, 0.0110});    // kind 2: height only, horizontal ignored
    q.newPoints.push_back({3, 0.0110, 0.9});    // kind 3: horizontal only
    q.newPoints.push_back({1, 1e-16, 1e-16});   // unset: ignored
    const GnssTexts t = GnssTextBuilder(0, kAuto, ControlLimits(), q).Build();
    EXPECT_EQ(t.absoluteResult, "水平位置の標準偏差1.3cm、\r\n標高の標準偏差1.1cm");
}

TEST(GnssTextBuilder, UnsetClosuresNeverEnterAMaximum)
{
    GnssQuantities q;
    q.ring.Add(1e-16, 0.5, 0.5);
    q.ring.Add(0.002, 0.001, 0.001);
    EXPECT_EQ(q.ring.Count(), 1);
    const GnssTexts t = GnssTextBuilder(0, kAuto, ControlLimits(), q).Build();
    ASSERT_EQ(t.relativeResults.size(), 1u);
    EXPECT_EQ(t.relativeResults[0], "基線ベクトルの環閉合差水平2mm、高さ1mm");
}

TEST(GnssTextBuilder, ElevationTexts)
{
    GnssQuantities q;
    q.halves.push_back({true, true, 0.0125, -0.004, 0.0065});
    q.halves.push_back({true, false, 0.9, 0.9, 0.9});   // unpaired: not counted
    q.knownClosures = {0.0004, -0.0072};
    q.slopeResidual = {true, -0.0045};
    const GnssTexts t = GnssTextBuilder(2, kAuto, HeightLimits(), q).Build();
    ASSERT_EQ(t.requirements.size(), 4u);
    EXPECT_EQ(t.requirements[2], "・既知点間の楕円体高の閉合差15㎜√ΣS");
    EXPECT_EQ(t.absoluteRequirement, "－");
    EXPECT_EQ(t.absoluteResult, "－");
    ASSERT_EQ(t.relativeRequirements.size(), 3u);
    ASSERT_EQ(t.relativeResults.size(), 3u);
    EXPECT_EQ(t.relativeResults[0], "観測データ前後半の基線ベクトルの較差：\r\n水平：13mm\r\n高さ：7mm\r\n");
    EXPECT_EQ(t.relativeResults[1], "既知点間の楕円体高\r\nの閉合差：7mm\r\n");
    EXPECT_EQ(t.relativeResults[2], "三次元網平均計算における斜距離の残差：5mm");
}

TEST(GnssTextBuilder, HalfDifferencesPrintHalfUpInMillimetres)
{
    GnssQuantities q;
    q.halves.push_back({true, true, 0.0145, 0.0, -0.0125});
    const GnssTexts t = GnssTextBuilder(2, kAuto, HeightLimits(), q).Build();
    ASSERT_EQ(t.relativeResults.size(), 1u);
    EXPECT_EQ(t.relativeResults[0], "観測データ前後半の基線ベクトルの較差：\r\n水平：15mm\r\n高さ：13mm\r\n");
}

TEST(GnssTextBuilder, KnownPointClosureWithinHalfMillimetreIsZero)
{
    GnssQuantities q;
    q.knownClosures = {0.0004};
    const GnssTexts t = GnssTextBuilder(3, kAuto, HeightLimits(), q).Build();
    ASSERT_EQ(t.relativeResults.size(), 1u);
    EXPECT_EQ(t.relativeResults[0], "既知点間の楕円体高\r\nの閉合差：0mm\r\n");
}

TEST(GnssTextBuilder, LevellingTextsWithAssumedNetwork)
{
    GnssQuantities q;
    q.knownClosures = {0.003};
    q.assumedClosures = {0.0006, -0.0021};
    q.assumedResidual = {true, -0.0025};
    q.slopeResidual = {true, 0.0015};
    const GnssTexts t = GnssTextBuilder(1, kAuto, HeightLimits(), q).Build();
    ASSERT_EQ(t.requirements.size(), 6u);
    EXPECT_EQ(t.requirements[3], "・仮定三次元網平均計算における楕円体高の閉合差25㎜√S");
    EXPECT_EQ(t.requirements[4], "・仮定三次元網平均計算における基線ベクトルの各成分の残差20㎜");
    ASSERT_EQ(t.relativeRequirements.size(), 5u);
    ASSERT_EQ(t.relativeResults.size(), 4u);
    EXPECT_EQ(t.relativeResults[1], "仮定三次元網平均計算における楕円体高の閉合差：2mm\r\n");
    EXPECT_EQ(t.relativeResults[2], "仮定三次元網平均計算における基線ベクトルの各成分の残差：3mm\r\n");
    EXPECT_EQ(t.relativeResults[3], "三次元網平均計算における斜距離の残差：2mm");
}

}  // namespace
}  // namespace mod04827
