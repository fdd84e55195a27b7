#include "platform/Numbers.h"

#include <clocale>
#include <cmath>
#include <limits>
#include <gtest/gtest.h>

namespace tessara {
namespace {

struct RoundCase {
    const char* name;
    double value;
    int decimals;
    RoundMode mode;
    const char* text;
};

void PrintTo(const RoundCase& c, std::ostream* os)
{
    *os << c.name;
}

class RoundDecimalTest : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundDecimalTest, RoundsTheShortestDecimalText)
{
    const RoundCase& c = GetParam();
    EXPECT_EQ(FormatFixed(c.value, c.decimals, c.mode), c.text);
    EXPECT_EQ(RoundDecimal(c.value, c.decimals, c.mode), *ParseDouble(c.text));
}

INSTANTIATE_TEST_SUITE_P(Cases, RoundDecimalTest, ::testing::Values(
    RoundCase{"below_half_in_binary", 0.0145, 3, RoundMode::HalfUp, "0.015"},
    RoundCase{"product", 0.0125 * 100, 1, RoundMode::HalfUp, "1.3"},
    RoundCase{"positive_half", 2.45, 1, RoundMode::HalfUp, "2.5"},
    RoundCase{"negative_half", -2.45, 1, RoundMode::HalfUp, "-2.5"},
    RoundCase{"tiny_to_zero", 1e-7, 3, RoundMode::HalfUp, "0.000"},
    RoundCase{"tiny_kept", 1e-7, 7, RoundMode::HalfUp, "0.0000001"},
    RoundCase{"tiny_half", 5e-8, 7, RoundMode::HalfUp, "0.0000001"},
    RoundCase{"negative_tiny_no_minus_zero", -1e-7, 3, RoundMode::HalfUp, "0.000"},
    RoundCase{"carry", 9.995, 2, RoundMode::HalfUp, "10.00"},
    RoundCase{"integer", 2.5, 0, RoundMode::HalfUp, "3"},
    RoundCase{"pad", 1.5, 4, RoundMode::HalfUp, "1.5000"},
    RoundCase{"tens", 1234.5, -1, RoundMode::HalfUp, "1230"},
    RoundCase{"large", 123456789012.345, 2, RoundMode::HalfUp, "123456789012.35"},
    RoundCase{"zero", 0.0, 2, RoundMode::HalfUp, "0.00"},
    RoundCase{"floor_positive", 2.49, 1, RoundMode::Floor, "2.4"},
    RoundCase{"floor_negative", -2.41, 1, RoundMode::Floor, "-2.5"},
    RoundCase{"floor_exact", -2.4, 1, RoundMode::Floor, "-2.4"},
    RoundCase{"floor_grid", 12.7, 0, RoundMode::Floor, "12"},
    RoundCase{"floor_negative_tiny", -1e-7, 3, RoundMode::Floor, "-0.001"},
    RoundCase{"floor_binary_below", 0.3, 1, RoundMode::Floor, "0.3"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NumbersTest, NonFiniteValuesPassThrough)
{
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::infinity(), 2), "inf");
    EXPECT_EQ(FormatFixed(-std::numeric_limits<double>::infinity(), 2), "-inf");
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::quiet_NaN(), 2), "nan");
    EXPECT_TRUE(std::isnan(RoundDecimal(std::numeric_limits<double>::quiet_NaN(), 2)));
}

TEST(NumbersTest, ShortestTextReadsBackExactly)
{
    for (const double v : {0.1, 1e-7, -2.45, 1.0 / 3.0, 123456.789, 5e-324, 1.7976931348623157e308}) {
        const auto back = ParseDouble(ShortestText(v));
        ASSERT_TRUE(back) << ShortestText(v);
        EXPECT_EQ(*back, v);
    }
    EXPECT_EQ(ShortestText(0.1), "0.1");
    EXPECT_EQ(ShortestText(-2.45), "-2.45");
}

TEST(NumbersTest, ParsingIgnoresTheProcessLocale)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    // A comma-decimal locale, when the machine has one, must not change anything.
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(ParseDouble("1.5"), 1.5);
    EXPECT_EQ(FormatFixed(1.25, 2), "1.25");
    EXPECT_EQ(ShortestText(1.5), "1.5");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

struct ParseCase {
    const char* text;
    std::optional<double> value;
};

TEST(NumbersTest, ParseDoubleAcceptsOnlyWholeNumbers)
{
    const ParseCase cases[] = {
        {"1.5", 1.5}, {"  -2.25 ", -2.25}, {"+3", 3.0}, {"1e-7", 1e-7},
        {"0.000000", 0.0}, {"12.500000", 12.5},    // the old "%lf" form
        {"", std::nullopt}, {"   ", std::nullopt}, {"1.5x", std::nullopt},
        {"1,5", std::nullopt}, {"+-1", std::nullopt}, {"nan", std::nullopt},
        {"inf", std::nullopt}, {"1e999", std::nullopt},
    };
    for (const ParseCase& c : cases) {
        EXPECT_EQ(ParseDouble(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(NumbersTest, ParseIntChecksRange)
{
    EXPECT_EQ(ParseInt("-17"), -17);
    EXPECT_EQ(ParseInt(" 42\n"), 42);
    EXPECT_EQ(ParseInt("2147483647"), 2147483647);
    EXPECT_EQ(ParseInt("2147483648"), std::nullopt);
    EXPECT_EQ(ParseInt("1.0"), std::nullopt);
    EXPECT_EQ(ParseInt(""), std::nullopt);
    EXPECT_EQ(ParseInt64("-9000000000"), -9000000000LL);
}

} // namespace
} // namespace tessara
