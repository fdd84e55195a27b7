#include "outside/GeoFunc.h"
#include "outside/MTRX.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

TEST(MtrxTest, HostTransformMapsToReferenceOrigin)
{
    // The host reader: Axis, then Move(-Y0, -X0): (X, Y) -> (Y - Y0, X - X0).
    const double X0 = -12345.678, Y0 = 23456.789;
    MTRX m;
    m.Axis();
    m.Move(-Y0, -X0);
    double x = -12000.0, y = 24000.0;
    m.XY(&x, &y);
    EXPECT_DOUBLE_EQ(x, 24000.0 - Y0);
    EXPECT_DOUBLE_EQ(y, -12000.0 - X0);
    double ox = X0, oy = Y0;
    m.XY(&ox, &oy);
    EXPECT_EQ(ox, 0.0);
    EXPECT_EQ(oy, 0.0);
    EXPECT_EQ(m.m_axis, 1);
}

TEST(MtrxTest, ComposesInCallOrder)
{
    MTRX moveThenTurn;
    moveThenTurn.Move(1, 0);
    moveThenTurn.Turn(_f_pi / 2);
    PT p(0, 0);
    moveThenTurn.XY(p);
    EXPECT_NEAR(p.x(), 0.0, 1e-12);
    EXPECT_NEAR(p.y(), 1.0, 1e-12);
}

TEST(MtrxTest, InverseRoundTrips)
{
    MTRX m;
    m.Axis();
    m.Turn(0.3);
    m.Move(-1000.25, 2000.5);
    const MTRX inv = ~m;
    for (const PT& start : {PT(0, 0), PT(12.5, -7.25), PT(-45678.125, 98765.5)}) {
        PT p = start;
        m.XY(p);
        inv.XY(p);
        EXPECT_NEAR(p.x(), start.x(), 1e-9);
        EXPECT_NEAR(p.y(), start.y(), 1e-9);
    }
    double len = 2.0;
    m.D(&len);
    EXPECT_NEAR(len, 2.0, 1e-12);
}

TEST(MtrxTest, SingularInverseIsIdentity)
{
    MTRX m;
    m.m[0] = m.m[1] = m.m[3] = m.m[4] = 0.0;
    EXPECT_TRUE((~m).IsIdentity());
}

TEST(MtrxTest, StoredBlockIs74BytesAndRoundTrips)
{
    MTRX m;
    m.Axis();
    m.Move(-5.5, 7.125);
    const auto bytes = m.ToBytes();
    ASSERT_EQ(bytes.size(), 74u);
    EXPECT_EQ(bytes[72], 1); // the axis word, little-endian
    MTRX back;
    ASSERT_TRUE(back.FromBytes(bytes.data()));
    EXPECT_EQ(back, m);
    EXPECT_EQ(back.ToBytes(), bytes);

    auto bad = bytes;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::memcpy(bad.data(), &nan, 8);
    MTRX untouched;
    EXPECT_FALSE(untouched.FromBytes(bad.data()));
    EXPECT_TRUE(untouched.IsIdentity());
    EXPECT_FALSE(untouched.FromBytes(nullptr));
}

TEST(MtrxTest, NullPointersIgnored)
{
    MTRX m;
    double x = 1;
    m.XY(&x, nullptr);
    m.D(nullptr);
    EXPECT_EQ(x, 1);
}

} // namespace
