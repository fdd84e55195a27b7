#include "viewer/commands/Measurement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

// A survey-to-user matrix that shrinks survey lengths by `factor` (user = survey * factor).
MTRX Scaled(double factor)
{
    MTRX m;
    m.m[0] = factor;
    m.m[4] = factor;
    return m;
}

MTRX Turned()
{
    MTRX m;
    m.Turn(0.7);
    m.Move(1000.0, -250.0);
    return m;
}

struct DistanceCase {
    const char* name;
    MTRX userMatrix;
    PT a;
    PT b;
    double plane, height, slope;
};

class MeasurementDistanceTest : public ::testing::TestWithParam<DistanceCase> {};

TEST_P(MeasurementDistanceTest, GivesPlaneHeightAndSlopeInSurveyUnits)
{
    const DistanceCase& c = GetParam();
    const auto values = Measurement(c.userMatrix).Distance(c.a, c.b);
    ASSERT_TRUE(values.has_value());
    EXPECT_NEAR(values->plane, c.plane, 1e-9);
    EXPECT_NEAR(values->height, c.height, 1e-9);
    EXPECT_NEAR(values->slope, c.slope, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MeasurementDistanceTest,
    ::testing::Values(
        DistanceCase{"identity", MTRX(), {0, 0, 0}, {3, 4, 12}, 5, 12, 13},
        DistanceCase{"higher_point_first", MTRX(), {3, 4, 12}, {0, 0, 0}, 5, 12, 13},
        DistanceCase{"same_height_slope_is_plane", MTRX(), {10, 10, 7.5}, {13, 14, 7.5}, 5, 0, 5},
        DistanceCase{"straight_up", MTRX(), {2, 2, -1}, {2, 2, 4}, 0, 5, 5},
        DistanceCase{"same_point", MTRX(), {1, 2, 3}, {1, 2, 3}, 0, 0, 0},
        // User units half of the survey's: every reading doubles, height included.
        DistanceCase{"user_scaled_by_half", Scaled(0.5), {0, 0, 0}, {3, 4, 12}, 10, 24, 26},
        DistanceCase{"user_scaled_by_four", Scaled(4.0), {0, 0, 0}, {3, 4, 12}, 1.25, 3, 3.25},
        // Turning and moving keep lengths.
        DistanceCase{"turned_and_moved", Turned(), {100, 200, 0}, {103, 204, 12}, 5, 12, 13},
        // A singular matrix has no inverse: the identity stands in.
        DistanceCase{"singular_matrix", Scaled(0.0), {0, 0, 0}, {3, 4, 12}, 5, 12, 13}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Measurement, NothingToShowForPointsOrValuesThatAreNotFinite)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Measurement m{MTRX()};
    EXPECT_FALSE(m.Distance(PT(nan, 0, 0), PT(1, 1, 1)).has_value());
    EXPECT_FALSE(m.Distance(PT(0, 0, 0), PT(1, 1, inf)).has_value());
    // Finite points whose difference overflows.
    EXPECT_FALSE(m.Distance(PT(-1e308, 0, 0), PT(1e308, 0, 0)).has_value());
    EXPECT_FALSE(m.Coordinates(PT(0, nan, 0)).has_value());
    // A scale that overflows a finite reading.
    EXPECT_FALSE(Measurement(Scaled(1e-100)).Distance(PT(0, 0, 0), PT(1e300, 0, 0)).has_value());
    // Squares that would overflow still give a slope.
    const auto far = m.Distance(PT(0, 0, 0), PT(3e200, 0, 4e200));
    ASSERT_TRUE(far.has_value());
    EXPECT_DOUBLE_EQ(far->slope, 5e200);
}

TEST(Measurement, CoordinatesGoBackThroughTheInverseMatrixInPlanOnly)
{
    MTRX moved;
    moved.Move(-1000.0, 500.0);   // survey to user
    const auto back = Measurement(moved).Coordinates(PT(12.5, -3.25, 41.0));
    ASSERT_TRUE(back.has_value());
    EXPECT_DOUBLE_EQ(back->x(), 1012.5);
    EXPECT_DOUBLE_EQ(back->y(), -503.25);
    EXPECT_DOUBLE_EQ(back->z(), 41.0);

    const auto scaled = Measurement(Scaled(0.5)).Coordinates(PT(10, 20, 3));
    ASSERT_TRUE(scaled.has_value());
    EXPECT_DOUBLE_EQ(scaled->x(), 20.0);
    EXPECT_DOUBLE_EQ(scaled->y(), 40.0);
    EXPECT_DOUBLE_EQ(scaled->z(), 3.0);

    const auto same = Measurement(MTRX()).Coordinates(PT(-7.125, 8, 9));
    ASSERT_TRUE(same.has_value());
    EXPECT_EQ(*same, PT(-7.125, 8, 9));
}

TEST(Measurement, StatusTextsAreThePrintfFormsInTheCLocale)
{
    EXPECT_EQ(Measurement::DistanceStatusText({5.0, 12.0, 13.0}),
              "平面距離：5.000000 斜距離：13.000000 高低差：12.000000");
    EXPECT_EQ(Measurement::DistanceStatusText({0.125, 1e-7, 1234567.890625}),
              "平面距離：0.125000 斜距離：1234567.890625 高低差：0.000000");
    EXPECT_EQ(Measurement::CoordinateStatusText(PT(-12345.5, 0.25, 1e-7)),
              "X：-12345.500000  Y：0.250000  Z：0.000000");
}

TEST(Measurement, LinesRunFromTheLowerPointAndTheFirstOfTwoAtOneHeight)
{
    const DistanceLines up = Measurement::Lines(PT(0, 0, 1), PT(3, 4, 5));
    EXPECT_EQ(up.low, PT(0, 0, 1));
    EXPECT_EQ(up.high, PT(3, 4, 5));
    EXPECT_EQ(up.corner, PT(3, 4, 1));

    const DistanceLines down = Measurement::Lines(PT(3, 4, 5), PT(0, 0, 1));
    EXPECT_EQ(down.low, PT(0, 0, 1));
    EXPECT_EQ(down.high, PT(3, 4, 5));

    // Same height: the corner is the second point, so plane and slope lines coincide.
    const DistanceLines flat = Measurement::Lines(PT(1, 1, 2), PT(4, 5, 2));
    EXPECT_EQ(flat.low, PT(1, 1, 2));
    EXPECT_EQ(flat.high, PT(4, 5, 2));
    EXPECT_EQ(flat.corner, flat.high);
}

struct AnchorCase {
    const char* name;
    double x, y;   // window, y up
    bool shown;
    QPoint client;
};

class MeasurementAnchorTest : public ::testing::TestWithParam<AnchorCase> {};

TEST_P(MeasurementAnchorTest, HintsStandOnlyInsideTheClientArea)
{
    const AnchorCase& c = GetParam();
    const auto anchor = Measurement::HintAnchor(c.x, c.y, 200, 150);
    ASSERT_EQ(anchor.has_value(), c.shown);
    if (c.shown) {
        EXPECT_EQ(*anchor, c.client);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MeasurementAnchorTest,
    ::testing::Values(AnchorCase{"middle", 100.4, 50.0, true, QPoint(100, 100)},
                      AnchorCase{"top_left_corner", 1.0, 149.0, true, QPoint(1, 1)},
                      AnchorCase{"bottom_right_corner", 200.0, 0.0, true, QPoint(200, 150)},
                      AnchorCase{"left_of_the_first_column", 0.9, 50.0, false, {}},
                      AnchorCase{"right_of_the_view", 200.5, 50.0, false, {}},
                      AnchorCase{"above_the_view", 100.0, 149.5, false, {}},
                      AnchorCase{"below_the_view", 100.0, -0.5, false, {}},
                      AnchorCase{"far_away", 1e12, -1e12, false, {}},
                      AnchorCase{"not_a_number", std::nan(""), 50.0, false, {}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
