#include <gtest/gtest.h>

#include <string>

#include "platform/MessageBoxService.h"
#include "viewer/app/CloseRules.h"
#include "viewer/app/ProgressAbortState.h"

namespace {

using tessara::IDNO;
using tessara::IDYES;

TEST(ProgressAbortStateTest, PollsMinusOneWhileAskedMinusTwoAfterYes)
{
    ProgressAbortState state;
    state.OnProgressShown();
    int whileAsked = 99;
    state.AskAbort([&] {
        whileAsked = state.Poll();
        return IDYES;
    });
    EXPECT_EQ(whileAsked, -1);
    EXPECT_EQ(state.Poll(), -2);
    state.OnProgressEnded();
    EXPECT_EQ(state.Poll(), 0);
}

TEST(ProgressAbortStateTest, NoLetsTheWorkGoOn)
{
    ProgressAbortState state;
    state.OnProgressShown();
    state.AskAbort([] { return IDNO; });
    EXPECT_EQ(state.Poll(), 0);
}

TEST(ProgressAbortStateTest, YesAfterTheWorkEndedSparesTheNextWork)
{
    ProgressAbortState state;
    state.OnProgressShown();
    state.AskAbort([&] {
        // While the box is open the asking work ends and the next one starts.
        state.OnProgressEnded();
        state.OnProgressShown();
        return IDYES;
    });
    EXPECT_EQ(state.Poll(), 0);
}

TEST(ProgressAbortStateTest, YesWithNoWorkRunningRequestsNothing)
{
    ProgressAbortState state;
    state.AskAbort([] { return IDYES; });
    EXPECT_EQ(state.Poll(), 0);
    state.OnProgressShown();
    EXPECT_EQ(state.Poll(), 0);
}

TEST(ProgressAbortStateTest, ANewDisplayClearsAStaleRequest)
{
    ProgressAbortState state;
    state.OnProgressShown();
    state.AskAbort([] { return IDYES; });
    ASSERT_EQ(state.Poll(), -2);
    state.OnProgressShown();
    EXPECT_EQ(state.Poll(), 0);
}

struct CloseCase {
    const char* name;
    bool hasView;
    bool saving;
    bool otherWork;
    CloseRules::Decision expected;
};

class CloseRulesTest : public ::testing::TestWithParam<CloseCase> {};

TEST_P(CloseRulesTest, Decides)
{
    EXPECT_EQ(CloseRules::Decide(GetParam().hasView, GetParam().saving, GetParam().otherWork), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CloseRulesTest,
    ::testing::Values(CloseCase{"no_view_closes", false, false, false, CloseRules::Decision::CloseNow},
                      CloseCase{"idle_asks", true, false, false, CloseRules::Decision::Ask},
                      CloseCase{"saving_refused", true, true, false, CloseRules::Decision::RefuseSaving},
                      CloseCase{"saving_wins_over_load", true, true, true, CloseRules::Decision::RefuseSaving},
                      CloseCase{"load_refused", true, false, true, CloseRules::Decision::RefuseBusy}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
