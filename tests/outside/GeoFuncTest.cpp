#include "outside/GeoFunc.h"
#include "outside/RECTX.h"
#include "outside/StoreMarkers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

POLY Square(double size, bool closed = true)
{
    POLY p(8);
    p.Add(PT(0, 0, 0));
    p.Add(PT(size, 0, 0));
    p.Add(PT(size, size, 0));
    p.Add(PT(0, size, 0));
    if (closed)
        p.Add(PT(0, 0, 0));
    return p;
}

struct CrsCase {
    const char* name;
    LN a;
    LN b;
    short code;
    double x;
    double y;
};

class CrossingCodeTest : public ::testing::TestWithParam<CrsCase> {};

TEST_P(CrossingCodeTest, GivesCodeAndPoint)
{
    const CrsCase& c = GetParam();
    PT crs(kUnsetDouble, kUnsetDouble, kUnsetDouble);
    EXPECT_EQ(GetCrs(c.a, c.b, &crs), c.code);
    EXPECT_EQ(IsCrs(c.a, c.b), c.code);
    if (c.code == kCrsProper || c.code == kCrsTouch) {
        EXPECT_NEAR(crs.x(), c.x, 1e-12);
        EXPECT_NEAR(crs.y(), c.y, 1e-12);
        EXPECT_EQ(crs.z(), kUnsetDouble); // z is the caller's
    } else {
        EXPECT_EQ(crs.x(), kUnsetDouble);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, CrossingCodeTest,
    ::testing::Values(
        CrsCase{"proper", LN(PT(0, 0), PT(2, 2)), LN(PT(0, 2), PT(2, 0)), kCrsProper, 1, 1},
        CrsCase{"touchAtEnd", LN(PT(0, 0), PT(1, 1)), LN(PT(1, 1), PT(2, 0)), kCrsTouch, 1, 1},
        CrsCase{"endOnInterior", LN(PT(0, 0), PT(2, 0)), LN(PT(1, 0), PT(1, 5)), kCrsTouch, 1, 0},
        CrsCase{"collinearOverlap", LN(PT(0, 0), PT(2, 0)), LN(PT(1, 0), PT(3, 0)), kCrsCollinear, 0, 0},
        CrsCase{"collinearTouch", LN(PT(0, 0), PT(1, 0)), LN(PT(1, 0), PT(3, 0)), kCrsTouch, 1, 0},
        CrsCase{"collinearApart", LN(PT(0, 0), PT(1, 0)), LN(PT(2, 0), PT(3, 0)), kCrsParallel, 0, 0},
        CrsCase{"parallel", LN(PT(0, 0), PT(2, 0)), LN(PT(0, 1), PT(2, 1)), kCrsParallel, 0, 0},
        CrsCase{"apart", LN(PT(0, 0), PT(1, 0)), LN(PT(2, 1), PT(3, 5)), kCrsNone, 0, 0},
        CrsCase{"zeroLengthOn", LN(PT(1, 0), PT(1, 0)), LN(PT(0, 0), PT(2, 0)), kCrsTouch, 1, 0},
        CrsCase{"zeroLengthOff", LN(PT(1, 1), PT(1, 1)), LN(PT(0, 0), PT(2, 0)), kCrsNone, 0, 0},
        CrsCase{"nan", LN(PT(kNaN, 0), PT(1, 1)), LN(PT(0, 1), PT(1, 0)), kCrsNone, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PtInPolygonTest, InsideOutsideAndBoundary)
{
    for (const bool closed : {true, false}) {
        const POLY sq = Square(10, closed);
        EXPECT_EQ(PtInPolygon(sq, PT(5, 5)), 1);
        EXPECT_EQ(PtInPolygon(sq, PT(15, 5)), 0);
        EXPECT_EQ(PtInPolygon(sq, PT(10, 5)), 2);  // on an edge
        EXPECT_EQ(PtInPolygon(sq, PT(0, 0)), 2);   // on a corner
        EXPECT_EQ(PtInPolygon(sq, PT(-1, 0)), 0);  // on the line of an edge, outside
    }
}

TEST(PtInPolygonTest, DegenerateInputGivesOutside)
{
    POLY line(4);
    line.Add(PT(0, 0));
    line.Add(PT(1, 1));
    line.Add(PT(2, 2));
    EXPECT_EQ(PtInPolygon(line, PT(3, 3)), 0);
    EXPECT_EQ(PtInPolygon(POLY(4), PT(0, 0)), 0);
    EXPECT_EQ(PtInPolygon(Square(10), PT(kNaN, 5)), 0);
}

TEST(GetCrossCntTest, CountsEdgeCrossings)
{
    POLY other(8);
    other.Add(PT(5, -1));
    other.Add(PT(15, -1));
    other.Add(PT(15, 11));
    other.Add(PT(5, 11));
    EXPECT_EQ(GetCrossCnt(Square(10), other), 2);
    POLY inner(8);
    inner.Add(PT(2, 2));
    inner.Add(PT(3, 2));
    inner.Add(PT(3, 3));
    EXPECT_EQ(GetCrossCnt(Square(10), inner), 0);
}

TEST(RectTest, PolygonAndBounds)
{
    POLY p(8);
    ASSERT_EQ(RECTX(1, 2, 3, 5).GetPlygn(&p), 1);
    EXPECT_EQ(p.GetCount(), 5);
    const RECTX r = p.GetRectPlygn();
    EXPECT_EQ(r.m_minX, 1);
    EXPECT_EQ(r.m_maxY, 5);
    EXPECT_EQ(RECTX().GetPlygn(nullptr), 0);
    EXPECT_EQ(POLY(2).Add(PT()), 1);
    POLY full(1);
    full.Add(PT());
    EXPECT_EQ(full.Add(PT()), 0);
}

TEST(PointLineTest, FootDistanceAndOnSegment)
{
    PT foot;
    EXPECT_DOUBLE_EQ(GetSuiOfPtLine(PT(1, 3), LINE(PT(0, 0, 0), PT(4, 0, 8)), &foot), 3.0);
    EXPECT_DOUBLE_EQ(foot.x(), 1.0);
    EXPECT_DOUBLE_EQ(foot.z(), 2.0);
    // A line without direction: distance to its point.
    EXPECT_DOUBLE_EQ(GetSuiOfPtLine(PT(3, 4), LINE(PT(0, 0), PT(0, 0)), &foot), 5.0);
    EXPECT_TRUE(IsOn(PT(2, 0), LN(PT(0, 0), PT(4, 0))));
    EXPECT_TRUE(IsOn(PT(4, 0), LN(PT(0, 0), PT(4, 0))));
    EXPECT_FALSE(IsOn(PT(5, 0), LN(PT(0, 0), PT(4, 0))));
    EXPECT_FALSE(IsOn(PT(2, 0.1), LN(PT(0, 0), PT(4, 0))));
    EXPECT_TRUE(IsSuiOn(PT(2, 7), LN(PT(0, 0), PT(4, 0))));
    EXPECT_FALSE(IsSuiOn(PT(-1, 7), LN(PT(0, 0), PT(4, 0))));
    EXPECT_FALSE(IsSuiOn(PT(0, 0), LN(PT(1, 1), PT(1, 1))));
    EXPECT_TRUE(IsZeroDst(PT(1, 1, 5), PT(1, 1, 9)));
    EXPECT_FALSE(IsZeroDst(PT(kNaN, 1), PT(kNaN, 1)));
}

TEST(PointLineTest, ProportionalZ)
{
    PT p(1, 0, kUnsetDouble);
    EXPECT_EQ(SetProportionalZ(LN(PT(0, 0, 10), PT(4, 0, 30)), p), 1);
    EXPECT_DOUBLE_EQ(p.z(), 15.0);
    PT q(1, 0, 7);
    EXPECT_EQ(SetProportionalZ(LN(PT(0, 0, 10), PT(0, 0, 30)), q), 0); // zero length
    EXPECT_EQ(SetProportionalZ(LN(PT(0, 0, kUnsetDouble), PT(4, 0, 30)), q), 0);
    EXPECT_EQ(q.z(), 7.0);
}

TEST(SegmentTest, CentreOffsetAndPointByDistance)
{
    const LN ln(PT(0, 0, 0), PT(10, 0, 10));
    EXPECT_EQ(ln.GetCenterPt(), PT(5, 0, 5));
    EXPECT_EQ(ln.GetPtByOfs(2.5), PT(2.5, 0, 2.5));
    const LN plus = ln + 1.0;
    EXPECT_DOUBLE_EQ(plus.Pt1.y(), 1.0);
    const LN minus = ln - 1.0;
    EXPECT_DOUBLE_EQ(minus.Pt2.y(), -1.0);
    const LN zero(PT(1, 1), PT(1, 1));
    EXPECT_EQ(zero.GetPtByOfs(3.0), PT(1, 1));
    EXPECT_EQ((zero + 2.0).Pt1, PT(1, 1));
}

TEST(NumericTest, Helpers)
{
    const double x1 = 0, y1 = 0, x2 = 3, y2 = 4;
    EXPECT_DOUBLE_EQ(_f_length(&x1, &y1, &x2, &y2), 5.0);
    const double n = 1, d = 0, zero = 0;
    EXPECT_DOUBLE_EQ(_f_atan(&n, &d), _f_pi / 2);
    EXPECT_EQ(_f_atan(&zero, &zero), 0.0);
    EXPECT_DOUBLE_EQ(RadToDeg(_f_pi), 180.0);
    EXPECT_DOUBLE_EQ(GetProportion(0, 10, 100, 200, 2.5), 125.0);
    EXPECT_DOUBLE_EQ(GetProportion(5, 5, 100, 200, 7), 100.0); // no division by zero
    EXPECT_EQ(_f_round(2.5), 3);
    EXPECT_EQ(_f_round(-2.5), -3);
    EXPECT_EQ(_f_round(kNaN), 0);
    EXPECT_EQ(_f_round(1e300), std::numeric_limits<int>::max());
    EXPECT_TRUE(_f_iszero(1e-12));
    EXPECT_FALSE(_f_iszero(1e-6));
    EXPECT_FALSE(_f_iszero(kNaN));
    EXPECT_EQ(_f_sqrt(-4), 0.0);
    EXPECT_EQ(_f_sqrt(kNaN), 0.0);
}

struct RoundCase {
    double v;
    int decimals;
    int mode;
    double expected;
};

class RoundTest : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundTest, DecimalSafeTies)
{
    EXPECT_EQ(_Round(GetParam().v, GetParam().decimals, GetParam().mode), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Ties, RoundTest,
                         ::testing::Values(RoundCase{2.675, 2, 5, 2.68}, RoundCase{0.0145, 3, 5, 0.015},
                                           RoundCase{-2.5, 0, 5, -3.0}, RoundCase{2.5, 0, 5, 3.0},
                                           RoundCase{1.005, 2, 5, 1.01}, RoundCase{7.99, 0, 0, 7.0},
                                           RoundCase{-7.01, 0, 0, -8.0}, RoundCase{12.349, 1, 0, 12.3},
                                           RoundCase{12.349, 1, 3, 12.349}));

TEST(DtoATest, TextIntoBuffer)
{
    const double v = 2.0005;
    char buffer[32];
    EXPECT_STREQ(_DtoA(&v, buffer, 3), "2.001");
    char tiny[4];
    EXPECT_STREQ(_DtoA(&v, tiny, 3), "2.0");
    EXPECT_EQ(_DtoA(&v, 0), "2");
}

} // namespace
