#include "plugins/gnss/HalfBaselinePairing.h"
#include "plugins/gnss/RouteCheck.h"

#include <gtest/gtest.h>

#include <cmath>

namespace mod04827 {
namespace {

// A position on the equator at longitude 0: north is +Z, east +Y, up +X.
HalfBaseline Baseline(const char* from, const char* to, double x, double y, double z)
{
    HalfBaseline b;
    b.from = from;
    b.to = to;
    b.vector[0] = x;
    b.vector[1] = y;
    b.vector[2] = z;
    b.position[0] = 6378137.0;
    return b;
}

TEST(HalfBaselinePairing, RepeatedBaselinePairsFirstWithFirst)
{
    HalfBaselinePairing pairing;
    pairing.AddFirst(Baseline("A", "B", 0, 0, 100.000));
    pairing.AddFirst(Baseline("A", "B", 0, 0, 100.010));
    pairing.AddSecond(Baseline("A", "B", 0, 0, 100.001));
    pairing.AddSecond(Baseline("A", "B", 0, 0, 100.012));
    const auto d = pairing.Differences();
    ASSERT_EQ(d.size(), 2u);
    ASSERT_TRUE(d[0].used);
    ASSERT_TRUE(d[1].used);
    EXPECT_NEAR(d[0].dN, -0.001, 1e-9);
    EXPECT_NEAR(d[1].dN, -0.002, 1e-9);
}

TEST(HalfBaselinePairing, ReversedSecondHalfNegatesTheFirst)
{
    HalfBaselinePairing pairing;
    pairing.AddFirst(Baseline("A", "B", 0.0, 5.0, 0.0));
    pairing.AddFirst(Baseline("C", "D", 0.0, 1.0, 0.0));
    pairing.AddSecond(Baseline("B", "A", 0.0, -5.003, 0.0));
    pairing.AddSecond(Baseline("X", "Y", 0.0, 1.0, 0.0));   // no first half: ignored
    const auto d = pairing.Differences();
    ASSERT_EQ(d.size(), 2u);
    EXPECT_TRUE(d[0].used);
    EXPECT_FALSE(d[1].used);
    EXPECT_NEAR(d[0].dE, -5.0 + 5.003, 1e-9);
    EXPECT_NEAR(d[0].dN, 0.0, 1e-9);
    EXPECT_NEAR(d[0].dU, 0.0, 1e-9);
}

struct RouteCase {
    const char* name;
    std::vector<RouteEntry> entries;
    bool levelling;
    bool passed;
    const char* message;
};
class RouteChecks : public ::testing::TestWithParam<RouteCase> {};

TEST_P(RouteChecks, RejectsWithTheFirstFailingRule)
{
    const std::map<std::string, double> known{{"K1", 40.0}, {"K2", 45.0}};
    const RouteCheckResult r = CheckRoute(GetParam().entries, known, GetParam().levelling);
    EXPECT_EQ(r.passed, GetParam().passed);
    EXPECT_EQ(r.message, GetParam().message);
}
INSTANTIATE_TEST_SUITE_P(Cases, RouteChecks, ::testing::Values(
    RouteCase{"one_entry", {{true, "K1", "P", 1.0}}, false, false, "点を２点以上指示して下さい。"},
    RouteCase{"inactive_end", {{true, "K1", "P", 1.0}, {false, "P", "K2", 4.0}}, false, false,
              "電子基準点から電子基準点へ、登録が行われていません。"},
    RouteCase{"unknown_start_levelling", {{true, "Q", "P", 1.0}, {true, "P", "K2", 4.0}}, true, false,
              "出発又は到着点が電子基準点(又は水準点)ではありません。"},
    RouteCase{"duplicate", {{true, "K1", "P", 1.0}, {true, "P", "Q", 1.0}, {true, "Q", "P", -1.0}, {true, "Q", "K2", 4.0}},
              false,
              false, "点が重複しています。"},
    RouteCase{"not_joined", {{true, "K1", "P", 1.0}, {true, "Q", "R", 1.0}, {true, "R", "K2", 4.0}}, false,
              false, "登録が正しく行われていません。"},
    RouteCase{"passes_reversed", {{true, "K1", "P", 1.0}, {true, "K2", "P", -4.0}}, false, true, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RouteCheck, ClosureFollowsTheDirectionOfUse)
{
    const std::map<std::string, double> known{{"K1", 40.00004}, {"K2", 45.0}};
    const RouteCheckResult r = CheckRoute({{true, "K1", "P", 1.002}, {true, "K2", "P", -3.999}}, known, false);
    ASSERT_TRUE(r.passed);
    EXPECT_EQ(r.reversed, (std::vector<bool>{false, true}));
    EXPECT_NEAR(r.closure, 40.0 + 1.002 + 3.999 - 45.0, 1e-9);
}

}  // namespace
}  // namespace mod04827
