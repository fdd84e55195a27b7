#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "viewer/render/PipeWorker.h"

namespace {

using namespace std::chrono_literals;

TEST(PipeWorkerTest, StopEndsAWorkerWaitingForItsStopRequest)
{
    PipeWorker worker;
    std::atomic<bool> ended{false};
    ASSERT_TRUE(worker.Start([&](WorkerStopToken& stop) {
        stop.WaitForStop();
        ended = true;
    }));
    EXPECT_TRUE(worker.Running());
    const auto start = std::chrono::steady_clock::now();
    worker.Stop();
    EXPECT_TRUE(ended);
    EXPECT_FALSE(worker.Running());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
}

TEST(PipeWorkerTest, StopRunsTheInterruptOfABlockedCall)
{
    PipeWorker worker;
    std::atomic<bool> interrupted{false};
    std::atomic<bool> blocked{false};
    ASSERT_TRUE(worker.Start([&](WorkerStopToken& stop) {
        stop.SetInterrupt([&] { interrupted = true; });
        blocked = true;
        // Stands in for a blocking Connect: returns only once interrupted.
        while (!interrupted) std::this_thread::sleep_for(1ms);
    }));
    while (!blocked) std::this_thread::sleep_for(1ms);
    worker.Stop();
    EXPECT_TRUE(interrupted);
}

TEST(PipeWorkerTest, InterruptSetAfterTheStopRunsAtOnce)
{
    WorkerStopToken token;
    token.RequestStop();
    bool ran = false;
    token.SetInterrupt([&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(token.WaitForStopFor(0ms));
}

TEST(PipeWorkerTest, DestroyingTheOwnerStopsAndJoins)
{
    std::atomic<bool> ended{false};
    {
        PipeWorker worker;
        worker.Start([&](WorkerStopToken& stop) {
            stop.WaitForStop();
            ended = true;
        });
    }
    EXPECT_TRUE(ended);
}

}  // namespace
