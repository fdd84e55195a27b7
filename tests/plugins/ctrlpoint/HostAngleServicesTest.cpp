#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "hostfw/ctrlpoint/DmsAngles.h"
#include "hostfw/ctrlpoint/TXYDA_Nt.h"

namespace {

TEST(DmsAnglesTest, SubtractionReducesToHalfCircle)
{
    EXPECT_DOUBLE_EQ(SubDms(359.5959, 0.0001), -0.0002);   // 359°59′59″ − 0°00′01″ = −2″
    EXPECT_DOUBLE_EQ(SubDms(0.0001, 359.5959), 0.0002);
    EXPECT_DOUBLE_EQ(SubDms(45.3010, 45.3012), -0.0002);
    EXPECT_DOUBLE_EQ(SubDms(270.0, 90.0), 180.0);
}

TEST(DmsAnglesTest, ConversionsKeepTheFieldBookDigits)
{
    EXPECT_DOUBLE_EQ(DMS_ToSec(12.3456), 12 * 3600 + 34 * 60 + 56);
    EXPECT_DOUBLE_EQ(DMS_ToSec(-0.0002), -2.0);
    EXPECT_DOUBLE_EQ(SecToDms(45296.7), 12.34567);
    EXPECT_NEAR(DmstoRad(90.0), std::numbers::pi / 2, 1e-15);
    EXPECT_DOUBLE_EQ(GetVerchi(1, DmstoRad(0.001)), 89.595);   // altitude 10″ as zenith 89°59′50″
    EXPECT_DOUBLE_EQ(GetVerchi(0, DmstoRad(0.001)), 0.001);
}

TEST(TXYDA_NtTest, FieldBookRoundingIsHalfUpOnDecimals)
{
    const TXYDA_Nt rounding(3, 0);
    EXPECT_DOUBLE_EQ(rounding.RndDst(250.0036), 250.004);
    EXPECT_DOUBLE_EQ(rounding.RndDst(0.0145), 0.015);
    EXPECT_DOUBLE_EQ(rounding.RndAz(10.00005), 10.0001);   // 0.5″ rounds up
    EXPECT_DOUBLE_EQ(rounding.RndDms(-0.00015), -0.0002);
    EXPECT_TRUE(TXYDA_Nt::IsZeroDst(0.0));
    EXPECT_FALSE(TXYDA_Nt::IsZeroDst(0.001));
}

} // namespace
