// Where the orientation aids sit, without a window: an aid whose checked points
// leave the depth range after the rotation is left out for that frame.
#include "viewer/render/OverlayGeometry.h"
#include "viewer/render/ScreenProjector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

constexpr int kW = 400, kH = 300;

// The overlay camera: orthographic over the window, depth -depthHalf..depthHalf,
// the scene turned by `turn` degrees about the y axis.
ScreenProjector Camera(float depthHalf, float turn)
{
    QMatrix4x4 projection;
    projection.ortho(0.0f, kW, 0.0f, kH, -depthHalf, depthHalf);
    QMatrix4x4 view;
    view.rotate(turn, 0.0f, 1.0f, 0.0f);
    return ScreenProjector(view, projection, {0, 0, kW, kH});
}

ScreenProjector Eye(float depthHalf)
{
    QMatrix4x4 projection;
    projection.ortho(0.0f, kW, 0.0f, kH, -depthHalf, depthHalf);
    return ScreenProjector(QMatrix4x4(), projection, {0, 0, kW, kH});
}

struct PlaceCase {
    const char* name;
    float depthHalf;     // of the camera's depth range
    float turn;          // degrees about y
    std::size_t checked; // points whose depth decides
    bool placed;
};

class OverlayPlaceTest : public ::testing::TestWithParam<PlaceCase> {};

// The triad's points: the origin and the three axis ends 40 units out.
TEST_P(OverlayPlaceTest, AxisEndsInsideTheDepthRangeOrNothing)
{
    const PlaceCase& c = GetParam();
    const std::vector<QVector3D> axes{{0, 0, 0}, {40, 0, 0}, {0, 40, 0}, {0, 0, 40}};
    const QVector3D origin(200, 150, 0);
    const auto placed = OverlayGeometry::Place(Camera(c.depthHalf, c.turn), Eye(c.depthHalf), origin, axes,
                                               c.checked, 300.0, 200.0);
    ASSERT_EQ(placed.has_value(), c.placed);
    if (!placed) return;
    ASSERT_EQ(placed->size(), axes.size());
    // The origin lands on the anchor; every point is finite.
    ScreenProjector::Window w;
    ASSERT_TRUE(Eye(c.depthHalf).ProjectModel((*placed)[0].x(), (*placed)[0].y(), (*placed)[0].z(), w));
    EXPECT_NEAR(w.x, 300.0, 1e-3);
    EXPECT_NEAR(w.y, 200.0, 1e-3);
    for (const QVector3D& p : *placed)
        EXPECT_TRUE(std::isfinite(p.x()) && std::isfinite(p.y()) && std::isfinite(p.z()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OverlayPlaceTest,
    ::testing::Values(PlaceCase{"all_ends_inside", 100.0f, 0.0f, 4, true},
                      PlaceCase{"turned_ends_inside", 100.0f, 90.0f, 4, true},
                      // The z end 40 out of a range of +-30: outside depth.
                      PlaceCase{"z_end_outside_depth", 30.0f, 0.0f, 4, false},
                      // Turned a quarter about y the x end takes the depth axis.
                      PlaceCase{"x_end_turned_outside_depth", 30.0f, 90.0f, 3, false},
                      // The same with the x end left unchecked (as the cube's upper corners are).
                      PlaceCase{"unchecked_end_outside_depth", 30.0f, 90.0f, 1, true},
                      PlaceCase{"half_turn_keeps_ends_inside", 100.0f, 180.0f, 4, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OverlayPlace, AnOriginThatDoesNotProjectPlacesNothing)
{
    const QVector3D origin(std::nanf(""), 0, 0);
    EXPECT_FALSE(OverlayGeometry::Place(Camera(100, 0), Eye(100), origin, {{0, 0, 0}}, 1, 10, 10).has_value());
}

TEST(OverlayCylinder, ACylinderOfNoLengthOrNotFiniteHasNoRing)
{
    EXPECT_FALSE(OverlayGeometry::CylinderRing({1, 2, 3}, {1, 2, 3}, 5.0f).has_value());
    EXPECT_FALSE(OverlayGeometry::CylinderRing({1, 2, 3}, {std::nanf(""), 2, 3}, 5.0f).has_value());
    const auto ring = OverlayGeometry::CylinderRing({0, 0, 0}, {0, 0, 10}, 5.0f);
    ASSERT_TRUE(ring.has_value());
    for (const QVector3D& r : *ring) EXPECT_NEAR(r.length(), 5.0f, 1e-4f);
}

}  // namespace
