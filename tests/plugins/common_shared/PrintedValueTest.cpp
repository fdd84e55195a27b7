#include <gtest/gtest.h>

#include "plugins/common/PrintedValue.h"

namespace plugcommon {
namespace {

struct PrintCase {
    double metres;
    int places;
    int decimals;
    const char* text;
};

class PrintedValueTest : public ::testing::TestWithParam<PrintCase> {};

TEST_P(PrintedValueTest, ScalesOnDecimalTextThenRoundsHalfUp)
{
    const PrintCase& c = GetParam();
    EXPECT_EQ(FormatMeasured(ScaleByPowerOfTen(c.metres, c.places), c.decimals), c.text);
}

INSTANTIATE_TEST_SUITE_P(Values, PrintedValueTest, ::testing::Values(
    PrintCase{0.0123, 2, 1, "1.2"}, PrintCase{0.0036, 3, 0, "4"}, PrintCase{0.0125, 2, 1, "1.3"},
    PrintCase{0.0145, 3, 0, "15"}, PrintCase{-0.0145, 3, 0, "15"}, PrintCase{1e-7, 3, 4, "0.0001"},
    PrintCase{0.0, 3, 0, "0"}));

} // namespace
} // namespace plugcommon
