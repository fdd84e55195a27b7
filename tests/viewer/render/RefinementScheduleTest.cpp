#include <gtest/gtest.h>

#include <vector>

#include "viewer/render/RefinementSchedule.h"

namespace {

struct LevelCase {
    const char* name;
    int level;
    long long frameMs;
    int expected;
};

class DetailLevelTest : public ::testing::TestWithParam<LevelCase> {};

TEST_P(DetailLevelTest, FollowsTheFrameTime)
{
    EXPECT_EQ(RefinementSchedule::NextDetailLevel(GetParam().level, GetParam().frameMs), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, DetailLevelTest,
                         ::testing::Values(LevelCase{"slow_frame_coarsest", 0, 301, 99},
                                           LevelCase{"halfway_to_coarsest", 10, 200, 54},
                                           LevelCase{"exactly_300_halfway", 0, 300, 49},
                                           LevelCase{"steady_band_keeps", 37, 60, 37},
                                           LevelCase{"steady_band_lower_edge", 37, 50, 37},
                                           LevelCase{"steady_band_upper_edge", 37, 100, 37},
                                           LevelCase{"fast_clamped_at_zero", 3, 40, 0},
                                           LevelCase{"very_fast_frame", 20, 5, 5},
                                           LevelCase{"ten_ms_is_fast_not_very_fast", 20, 10, 15},
                                           LevelCase{"empty_scene_stays_full_detail", 0, 2, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RefinementScheduleTest, LevelZeroStartsNothing)
{
    RefinementSchedule schedule;
    schedule.Start(0);
    EXPECT_FALSE(schedule.Active());
    EXPECT_FALSE(schedule.ShouldContinue());
}

TEST(RefinementScheduleTest, LevelFortyRunsFortyStepsAndPresentsAtTwentyAndZero)
{
    RefinementSchedule schedule;
    schedule.Start(40);
    std::vector<int> rendered;
    std::vector<int> presented;
    int guard = 0;
    while (schedule.ShouldContinue() && guard++ < 100) {
        const RefinementSchedule::Step step = schedule.Next();
        if (step.render) rendered.push_back(schedule.Counter());
        if (step.present) presented.push_back(schedule.Counter());
    }
    ASSERT_EQ(rendered.size(), 40u);
    EXPECT_EQ(rendered.front(), 39);
    EXPECT_EQ(rendered.back(), 0);
    EXPECT_EQ(presented, (std::vector<int>{20, 0}));
    EXPECT_FALSE(schedule.ShouldContinue());
}

TEST(RefinementScheduleTest, CancelStopsARunningRefinement)
{
    RefinementSchedule schedule;
    schedule.Start(30);
    schedule.Next();
    schedule.Cancel();
    EXPECT_FALSE(schedule.Active());
    EXPECT_FALSE(schedule.ShouldContinue());
}

}  // namespace
