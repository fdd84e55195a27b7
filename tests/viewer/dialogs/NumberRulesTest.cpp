#include "viewer/dialogs/ColorDialogService.h"
#include "viewer/dialogs/DecimalRange.h"
#include "viewer/dialogs/IntRange.h"
#include "viewer/dialogs/NumberText.h"
#include "viewer/dialogs/NumericKeyFilter.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <clocale>
#include <optional>
#include <string>

namespace {

struct ParseCase {
    const char* name;
    const char* text;
    std::optional<long long> integer;
    std::optional<double> decimal;
};

class NumberTextParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(NumberTextParse, TakesOnlyWholeNumbers)
{
    const ParseCase& c = GetParam();
    EXPECT_EQ(NumberText::ParseInteger(c.text), c.integer);
    EXPECT_EQ(NumberText::ParseDecimal(c.text), c.decimal);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberTextParse,
    ::testing::Values(ParseCase{"empty", "", std::nullopt, std::nullopt},
                      ParseCase{"blanks", "   ", std::nullopt, std::nullopt},
                      ParseCase{"letters", "abc", std::nullopt, std::nullopt},
                      ParseCase{"trailing_letter", "12a", std::nullopt, std::nullopt},
                      ParseCase{"exponent", "1e3", std::nullopt, std::nullopt},
                      ParseCase{"hex", "0x10", std::nullopt, std::nullopt},
                      ParseCase{"inf", "inf", std::nullopt, std::nullopt},
                      ParseCase{"nan", "nan", std::nullopt, std::nullopt},
                      ParseCase{"sign_only", "-", std::nullopt, std::nullopt},
                      ParseCase{"point_only", ".", std::nullopt, std::nullopt},
                      ParseCase{"two_points", "1.2.3", std::nullopt, std::nullopt},
                      ParseCase{"comma", "0,50", std::nullopt, std::nullopt},
                      ParseCase{"blank_inside", "1 2", std::nullopt, std::nullopt},
                      ParseCase{"padded", " 5 ", 5LL, 5.0},
                      ParseCase{"plus", "+7", 7LL, 7.0},
                      ParseCase{"minus", "-12", -12LL, -12.0},
                      ParseCase{"decimal", "0.25", std::nullopt, 0.25},
                      ParseCase{"leading_point", ".5", std::nullopt, 0.5},
                      ParseCase{"trailing_point", "-5.", std::nullopt, -5.0},
                      ParseCase{"int_overflow", "99999999999999999999", std::nullopt, 99999999999999999999.0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NumberText, FormatsInTheCLocaleWhateverTheUserLocale)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");  // where installed; the C locale otherwise
    EXPECT_EQ(NumberText::FormatDecimal(0.5, 2), "0.50");
    EXPECT_EQ(NumberText::ParseDecimal(NumberText::FormatDecimal(0.5, 2)), 0.5);
    EXPECT_EQ(NumberText::FormatDecimal(-0.00001, 2), "0.00");
    EXPECT_EQ(NumberText::FormatDecimal(100.0, 4), "100.0000");
    std::setlocale(LC_NUMERIC, previous.c_str());
    QLocale::setDefault(before);
}

struct IntRangeCase {
    const char* name;
    int min, max;
    const char* text;
    int start;
    int expected;
};

class IntRangeText : public ::testing::TestWithParam<IntRangeCase> {};

TEST_P(IntRangeText, KeepsTheOldValueUnlessANumberInRange)
{
    const auto& c = GetParam();
    int value = c.start;
    IntRange(c.min, c.max).TakeText(c.text, value);
    EXPECT_EQ(value, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IntRangeText,
    ::testing::Values(IntRangeCase{"min", 1, 100, "1", 50, 1}, IntRangeCase{"max", 1, 100, "100", 50, 100},
                      IntRangeCase{"below", 1, 100, "0", 50, 50}, IntRangeCase{"above", 1, 100, "101", 50, 50},
                      IntRangeCase{"empty_level", 0, 255, "", 7, 7},
                      IntRangeCase{"overflow", 0, 255, "99999999999", 7, 7},
                      IntRangeCase{"decimal_text", 0, 255, "1.5", 7, 7}),
    [](const auto& info) { return std::string(info.param.name); });

struct DecimalCase {
    const char* name;
    double min, max;
    int decimals;
    const char* text;
    double start;
    double expected;
};

class DecimalRangeText : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(DecimalRangeText, KeepsTheOldValueUnlessANumberInRange)
{
    const auto& c = GetParam();
    double value = c.start;
    DecimalRange(c.min, c.max, c.decimals).TakeText(c.text, value);
    EXPECT_EQ(value, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecimalRangeText,
    ::testing::Values(DecimalCase{"edge_min", 0.0001, 1000.0, 4, "0.0001", 100, 0.0001},
                      DecimalCase{"edge_max", 0.0001, 1000.0, 4, "1000", 100, 1000.0},
                      DecimalCase{"too_big", 0.0001, 1000.0, 4, "5000", 100, 100},
                      DecimalCase{"zero_edge", 0.0001, 1000.0, 4, "0", 100, 100},
                      DecimalCase{"emptied_elevation", -9999.9999, 9999.9999, 4, "", 12.5, 12.5},
                      DecimalCase{"letters_elevation", -9999.9999, 9999.9999, 4, "abc", 12.5, 12.5},
                      DecimalCase{"negative", -9999.9999, 9999.9999, 4, "-9999.9999", 12.5, -9999.9999},
                      DecimalCase{"exponent", 0.0, 10.0, 2, "1e0", 0.3, 0.3},
                      DecimalCase{"spacing_20", 0.0, 10.0, 2, "20", 0.3, 0.3}),
    [](const auto& info) { return std::string(info.param.name); });

struct StepCase {
    const char* name;
    double start;
    double delta;
    double expected;
    bool taken;
};

class DecimalRangeStep : public ::testing::TestWithParam<StepCase> {};

TEST_P(DecimalRangeStep, RoundsEachStepToTheDecimalsBeforeTheRangeTest)
{
    const auto& c = GetParam();
    double value = c.start;
    EXPECT_EQ(DecimalRange(0.01, 100.0, 2).Step(value, c.delta), c.taken);
    EXPECT_EQ(value, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, DecimalRangeStep,
                         ::testing::Values(StepCase{"down_to_min", 0.11, -0.1, 0.01, true},
                                           StepCase{"down_below_min", 0.01, -0.1, 0.01, false},
                                           StepCase{"up_past_max", 99.95, 0.1, 99.95, false},
                                           StepCase{"up_to_max", 99.9, 0.1, 100.0, true},
                                           StepCase{"plain", 0.5, 0.1, 0.6, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DecimalRangeStep, TenStepsUpAndDownLandOnTheGrid)
{
    const DecimalRange range(0.01, 100.0, 2);
    double value = 0.11;
    for (int i = 0; i < 10; ++i)
        range.Step(value, 0.1);
    EXPECT_EQ(value, 1.11);
    for (int i = 0; i < 11; ++i)
        range.Step(value, -0.1);
    EXPECT_EQ(value, 0.01);
}

TEST(IntRangeStep, StopsAtBothEnds)
{
    const IntRange range(1, 100);
    int value = 100;
    EXPECT_FALSE(range.Step(value, 1));
    EXPECT_EQ(value, 100);
    value = 1;
    EXPECT_FALSE(range.Step(value, -1));
    EXPECT_EQ(value, 1);
    EXPECT_TRUE(range.Step(value, 1));
    EXPECT_EQ(value, 2);
}

struct KeyCase {
    const char* name;
    const char16_t* typed;
    Qt::KeyboardModifiers modifiers;
    bool decimals;
    NumericKeyFilter::Verdict verdict;
};

class NumericKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(NumericKeys, JudgesTypedTextOnly)
{
    const auto& c = GetParam();
    EXPECT_EQ(NumericKeyFilter::Judge(QString::fromUtf16(c.typed), c.modifiers, c.decimals), c.verdict);
}

using V = NumericKeyFilter::Verdict;
INSTANTIATE_TEST_SUITE_P(
    Cases, NumericKeys,
    ::testing::Values(KeyCase{"digit", u"7", Qt::NoModifier, false, V::Accept},
                      KeyCase{"sign", u"-", Qt::NoModifier, false, V::Accept},
                      KeyCase{"point_in_int", u".", Qt::NoModifier, false, V::Refuse},
                      KeyCase{"point_in_decimal", u".", Qt::NoModifier, true, V::Accept},
                      KeyCase{"letter", u"a", Qt::NoModifier, true, V::Refuse},
                      KeyCase{"wide_digit", u"\uFF11", Qt::NoModifier, true, V::Refuse},
                      KeyCase{"kana", u"\u3042", Qt::NoModifier, true, V::Refuse},
                      KeyCase{"backspace", u"\b", Qt::NoModifier, false, V::Pass},
                      KeyCase{"arrow", u"", Qt::NoModifier, false, V::Pass},
                      KeyCase{"paste_shortcut", u"\x16", Qt::ControlModifier, false, V::Pass},
                      KeyCase{"select_all", u"a", Qt::ControlModifier, false, V::Pass}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ColorDialogPlacement, KeepsTheDialogOnTheOwnersSideOfTheCursor)
{
    const QRect owner(100, 100, 800, 600);  // right edge 900, bottom 700
    const QSize dialog(200, 300);
    // Near the left edge: starts at the cursor; near the top: below it.
    EXPECT_EQ(ColorDialogPlacement::AtCursor(dialog, owner, {150, 150}), QPoint(150, 150));
    // Near the right edge: ends at the cursor; far from the top: above it.
    EXPECT_EQ(ColorDialogPlacement::AtCursor(dialog, owner, {850, 650}), QPoint(650, 350));
    // Elsewhere: centred on the cursor.
    EXPECT_EQ(ColorDialogPlacement::AtCursor(dialog, owner, {500, 500}), QPoint(400, 200));
}

} // namespace
