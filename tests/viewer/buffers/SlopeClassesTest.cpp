#include "viewer/render/SlopeClasses.h"

#include "outside/LN.h"
#include "outside/PT.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Height of a point 10 m from an edge on the ground at the given angle.
double RiseAt(double degrees) { return 10.0 * std::tan(degrees * 3.14159265358979323846 / 180.0); }

struct SlopeCase {
    const char* name;
    PT q;
    LN edge;
    int expected;
};

class EdgeSlopeClassTest : public ::testing::TestWithParam<SlopeCase> {};

}  // namespace

TEST_P(EdgeSlopeClassTest, ClassByAngle)
{
    EXPECT_EQ(EdgeSlopeClass(GetParam().q, GetParam().edge), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EdgeSlopeClassTest,
    ::testing::Values(SlopeCase{"flat", PT(0, 10, 5), LN(PT(-5, 0, 5), PT(5, 0, 5)), 4},
                      SlopeCase{"steep", PT(0, 10, RiseAt(45)), LN(PT(-5, 0, 0), PT(5, 0, 0)), 0},
                      SlopeCase{"justUnder30", PT(0, 10, RiseAt(29.9)), LN(PT(-5, 0, 0), PT(5, 0, 0)), 1},
                      SlopeCase{"downhill15", PT(0, 10, -RiseAt(15)), LN(PT(-5, 0, 0), PT(5, 0, 0)), 2},
                      SlopeCase{"eight", PT(0, 10, RiseAt(8)), LN(PT(-5, 0, 0), PT(5, 0, 0)), 3},
                      SlopeCase{"sloping edge", PT(0, 10, 5), LN(PT(-5, 0, 0), PT(5, 0, 10)), 4},
                      SlopeCase{"edge without plan span", PT(3, 4, 0), LN(PT(0, 0, 0), PT(0, 0, 10)), 0},
                      SlopeCase{"point edge", PT(3, 4, 0), LN(PT(1, 1, 1), PT(1, 1, 1)), 0}),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

TEST(SlopeClasses, VerticalFaceIsSteepestNotFlat)
{
    // Two corners stacked one above the other: the face stands vertical.
    const float* colour = ClassifyTriangleSlope(PT(0, 0, 0), PT(0, 0, 10), PT(10, 0, 0), 0);
    EXPECT_FLOAT_EQ(colour[0], 0.9f);
    EXPECT_FLOAT_EQ(colour[1], 0.1f);
    EXPECT_FLOAT_EQ(colour[2], 0.1f);
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(std::isnan(colour[i]));
}

TEST(SlopeClasses, LevelTriangleIsFlatestInBothColumns)
{
    const float* strong = ClassifyTriangleSlope(PT(0, 0, 3), PT(10, 0, 3), PT(0, 10, 3), 0);
    const float* pale = ClassifyTriangleSlope(PT(0, 0, 3), PT(10, 0, 3), PT(0, 10, 3), 1);
    EXPECT_FLOAT_EQ(strong[2], 0.9f);
    EXPECT_FLOAT_EQ(strong[0], 0.1f);
    EXPECT_FLOAT_EQ(pale[0], 0.5f);
}

TEST(SlopeClasses, FootOnVerticalAndLeftwardSegments)
{
    PT foot(0, 0, 0);
    EXPECT_TRUE(FootOnSegmentXY(LN(PT(2, 0, 0), PT(2, 10, 0)), PT(7, 4, 0), foot));
    EXPECT_DOUBLE_EQ(foot.x(), 2.0);
    EXPECT_DOUBLE_EQ(foot.y(), 4.0);
    // Running up and to the left: the foot (5, 5) lies between the ends.
    EXPECT_TRUE(FootOnSegmentXY(LN(PT(10, 0, 0), PT(0, 10, 0)), PT(0, 0, 0), foot));
    EXPECT_NEAR(foot.x(), 5.0, 1e-12);
    EXPECT_NEAR(foot.y(), 5.0, 1e-12);
    EXPECT_FALSE(FootOnSegmentXY(LN(PT(0, 0, 0), PT(1, 1, 0)), PT(5, 5, 0), foot));
}
