#include <gtest/gtest.h>

#include <map>

#include "plugins/ctrlpoint/CheckCalcPairing.h"

namespace mod00519 {
namespace {

// Route keys of parts: 1xx are horizontal routes, 2xx height routes; key = address % 100.
// Address 999 cannot be read.
std::optional<std::int64_t> Key(PartAddress part)
{
    if (part == 0 || part == 999)
        return std::nullopt;
    return part % 100;
}

struct PairCase {
    const char* name;
    std::vector<CheckCalcRow> in;
    std::vector<CheckCalcRow> out;
    friend void PrintTo(const PairCase& c, std::ostream* os) { *os << c.name; }
};

class PairingTest : public ::testing::TestWithParam<PairCase> {};

TEST_P(PairingTest, PairsAndIsIdempotent)
{
    std::vector<CheckCalcRow> rows = GetParam().in;
    CheckCalcPairing::Pair(rows, Key, Key);
    EXPECT_EQ(rows, GetParam().out);
    const std::vector<CheckCalcRow> once = rows;
    EXPECT_FALSE(CheckCalcPairing::Pair(rows, Key, Key));
    EXPECT_EQ(rows, once);
}

INSTANTIATE_TEST_SUITE_P(Cases, PairingTest, ::testing::Values(
    PairCase{"swapsIntoMatchingRow", {{101, 202}, {102, 201}}, {{101, 201}, {102, 202}}},
    PairCase{"pairedRowStays", {{101, 201}, {101, 202}, {102, 0}}, {{101, 201}, {101, 0}, {102, 202}}},
    PairCase{"unreadableKeyNeitherMovesNorIsTarget", {{999, 201}, {101, 999}, {102, 0}},
             {{999, 201}, {101, 999}, {102, 0}}},
    PairCase{"chainOfThree", {{101, 202}, {102, 203}, {103, 201}}, {{101, 201}, {102, 202}, {103, 203}}},
    PairCase{"noMatchStays", {{101, 205}, {102, 0}}, {{101, 205}, {102, 0}}},
    PairCase{"empty", {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PairingScaleTest, ReversedRowsPairInOnePass)
{
    std::vector<CheckCalcRow> rows;
    const auto key = [](PartAddress a) -> std::optional<std::int64_t> { return a % 10000; };
    for (PartAddress i = 0; i < 512; ++i)
        rows.push_back({10000 + i, 20000 + 511 - i});
    CheckCalcPairing::Pair(rows, key, key);
    for (const CheckCalcRow& row : rows)
        EXPECT_EQ(row.horizontal % 10000, row.height % 10000);
}

} // namespace
} // namespace mod00519
