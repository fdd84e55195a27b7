#include "viewer/dialogs/LegendThrottle.h"

#include "viewer/render/FrameClock.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

// A clock that reads what the test set.
class ManualClock final : public FrameClock {
public:
    std::int64_t NowMs() override { return now; }
    std::int64_t now = 1000;
};

// A legend slot as the pop-ups keep it: the values of the legend shown, if any.
struct FakeSlot {
    explicit FakeSlot(std::shared_ptr<FrameClock> clock) : throttle(std::move(clock)) {}
    void Open(int value)
    {
        throttle.Request([this, value] {
            shown = value;
            ++creations;
        });
    }
    void Close()
    {
        throttle.Cancel();
        shown.reset();
    }
    LegendThrottle throttle;
    std::optional<int> shown;
    int creations = 0;
};

}  // namespace

TEST(LegendThrottle, ASecondOpeningInsideTheWindowShowsItsValuesAtTheWindowsEnd)
{
    auto clock = std::make_shared<ManualClock>();
    FakeSlot slot(clock);
    slot.Open(1);
    EXPECT_EQ(slot.shown, 1);
    clock->now += 10;
    slot.Open(2);
    EXPECT_EQ(slot.shown, 1) << "the open legend stays while the second waits";
    EXPECT_EQ(slot.throttle.PendingDueInMs(), 90);
    clock->now += 89;
    EXPECT_FALSE(slot.throttle.RunDue());
    EXPECT_EQ(slot.shown, 1);
    clock->now += 1;
    EXPECT_TRUE(slot.throttle.RunDue());
    EXPECT_EQ(slot.shown, 2);
    EXPECT_EQ(slot.creations, 2);
    EXPECT_EQ(slot.throttle.PendingDueInMs(), -1);
    EXPECT_FALSE(slot.throttle.RunDue());
}

TEST(LegendThrottle, OnlyTheLatestOfSeveralWaitingOpeningsRuns)
{
    auto clock = std::make_shared<ManualClock>();
    FakeSlot slot(clock);
    slot.Open(1);
    for (int v = 2; v <= 5; ++v) {
        clock->now += 10;
        slot.Open(v);
    }
    clock->now += 100;
    EXPECT_TRUE(slot.throttle.RunDue());
    EXPECT_EQ(slot.shown, 5);
    EXPECT_EQ(slot.creations, 2);
}

TEST(LegendThrottle, ACloseInsideTheWindowLeavesNoLegend)
{
    auto clock = std::make_shared<ManualClock>();
    FakeSlot slot(clock);
    slot.Open(1);
    clock->now += 10;
    slot.Open(2);
    clock->now += 10;
    slot.Close();
    clock->now += 200;
    EXPECT_FALSE(slot.throttle.RunDue());
    EXPECT_FALSE(slot.shown.has_value());

    // Open then close with nothing waiting: none either.
    slot.Open(3);
    clock->now += 5;
    slot.Close();
    clock->now += 200;
    EXPECT_FALSE(slot.throttle.RunDue());
    EXPECT_FALSE(slot.shown.has_value());
}

TEST(LegendThrottle, OpeningsAfterTheWindowRunAtOnceAndSlotsAreIndependent)
{
    auto clock = std::make_shared<ManualClock>();
    FakeSlot slope(clock);
    FakeSlot elevation(clock);
    slope.Open(1);
    elevation.Open(10);
    EXPECT_EQ(elevation.shown, 10);
    clock->now += 100;
    slope.Open(2);
    EXPECT_EQ(slope.shown, 2);
    clock->now += 10;
    elevation.Open(11);
    EXPECT_EQ(elevation.shown, 11) << "the elevation slot's own window was over";
    EXPECT_EQ(slope.throttle.PendingDueInMs(), -1);
}
