#include <gtest/gtest.h>

#include "plugins/common/ZoneNumeral.h"

namespace plugcommon {
namespace {

struct ZoneCase {
    int zone;
    const char* field;
};

class ZoneFieldTest : public ::testing::TestWithParam<ZoneCase> {};

TEST_P(ZoneFieldTest, PrintsNumeralOrNothing)
{
    EXPECT_EQ(FormatZoneField(GetParam().zone), GetParam().field);
}

INSTANTIATE_TEST_SUITE_P(Zones, ZoneFieldTest, ::testing::Values(
    ZoneCase{0, ""}, ZoneCase{1, "平面直角座標系 Ⅰ系"}, ZoneCase{10, "平面直角座標系 Ⅹ系"},
    ZoneCase{11, "平面直角座標系 ⅩⅠ系"}, ZoneCase{19, "平面直角座標系 ⅩⅨ系"}, ZoneCase{20, ""},
    ZoneCase{-1, ""}));

} // namespace
} // namespace plugcommon
