#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "outside/LN.h"
#include "outside/PT.h"
#include "viewer/render/ViewGeometry.h"

namespace {

struct InPolygonCase {
    const char* name;
    std::vector<QPoint> polygon;
    QPoint point;
    bool inside;
};

class PointInPolygonTest : public ::testing::TestWithParam<InPolygonCase> {};

TEST_P(PointInPolygonTest, CrossingNumber)
{
    EXPECT_EQ(IsPointInPolygon(GetParam().point.x(), GetParam().point.y(), &GetParam().polygon), GetParam().inside);
}

const std::vector<QPoint> kSquare = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
// Screen coordinates far out: the cross products exceed 32 bits.
const std::vector<QPoint> kHuge = {{-60000, -60000}, {60000, -60000}, {60000, 60000}, {-60000, 60000}};

INSTANTIATE_TEST_SUITE_P(
    Cases, PointInPolygonTest,
    ::testing::Values(InPolygonCase{"centre", kSquare, {5, 5}, true},
                      InPolygonCase{"outside_right", kSquare, {11, 5}, false},
                      InPolygonCase{"outside_above", kSquare, {5, -1}, false},
                      InPolygonCase{"on_right_edge_x_counts", kSquare, {10, 5}, true},
                      InPolygonCase{"on_left_edge_x_does_not", kSquare, {0, 5}, false},
                      InPolygonCase{"triangle_inside", {{0, 0}, {20, 0}, {10, 20}}, {10, 5}, true},
                      InPolygonCase{"triangle_outside", {{0, 0}, {20, 0}, {10, 20}}, {2, 15}, false},
                      InPolygonCase{"huge_inside", kHuge, {59000, 59000}, true},
                      InPolygonCase{"huge_outside", kHuge, {59000, 61000}, false},
                      InPolygonCase{"empty_polygon", {}, {0, 0}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ViewGeometryTest, NullPolygonsGiveFalse)
{
    EXPECT_FALSE(IsPointInPolygon(1, 1, nullptr));
    EXPECT_FALSE(IsSegmentCrossingPolygon(LN(PT(0, 0), PT(1, 1)), nullptr));
}

TEST(ViewGeometryTest, SegmentCrossingPolygonEdges)
{
    EXPECT_TRUE(IsSegmentCrossingPolygon(LN(PT(5, 5, 0), PT(15, 5, 0)), &kSquare));
    EXPECT_FALSE(IsSegmentCrossingPolygon(LN(PT(2, 2, 0), PT(8, 8, 0)), &kSquare));
    EXPECT_FALSE(IsSegmentCrossingPolygon(LN(PT(20, 0, 0), PT(30, 10, 0)), &kSquare));
}

TEST(ViewGeometryTest, NearSegmentUsesTheWidenedBoundingBox)
{
    const LN diagonal(PT(0, 0, 0), PT(10, 10, 0));
    EXPECT_TRUE(IsPointNearSegment(PT(5, 6, 0), diagonal));
    EXPECT_FALSE(IsPointNearSegment(PT(0, 10, 0), diagonal));   // 7.07 from the line
    // Beyond the end along the line, but inside the widened box.
    EXPECT_TRUE(IsPointNearSegment(PT(13, 13, 0), diagonal));
    EXPECT_FALSE(IsPointNearSegment(PT(16, 16, 0), diagonal));
}

TEST(ViewGeometryTest, SlopeAngleUpToEightyDegrees)
{
    const LN flat(PT(0, 0, 10), PT(10, 0, 10));
    EXPECT_TRUE(CheckSegmentPointAngle(PT(5, 2, 12), flat));     // 45 degrees
    EXPECT_FALSE(CheckSegmentPointAngle(PT(5, 1, 20), flat));    // 84 degrees
    const LN rising(PT(0, 0, 0), PT(10, 0, 10));
    EXPECT_TRUE(CheckSegmentPointAngle(PT(5, 1, 5.5), rising));  // height 5 at the foot
}

TEST(ViewGeometryTest, ZeroPlanLengthTakesTheStartHeight)
{
    const LN vertical(PT(0, 0, 10), PT(0, 0, 50));
    EXPECT_TRUE(CheckSegmentPointAngle(PT(10, 0, 10), vertical));   // level with the start
    EXPECT_FALSE(CheckSegmentPointAngle(PT(1, 0, 50), vertical));   // steep from the start
}

}  // namespace
