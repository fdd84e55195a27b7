#include "platform/Parallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <numeric>
#include <stdexcept>
#include <vector>

namespace tessara {
namespace {

// Sets the worker count for one test and restores it.
class WorkerCountScope {
public:
    explicit WorkerCountScope(std::size_t count) : m_previous(SetWorkerCount(count)) {}
    ~WorkerCountScope() { SetWorkerCount(m_previous); }

private:
    std::size_t m_previous;
};

TEST(ParallelTest, WorkerCountIsBoundedAndTestsCanSetIt)
{
    EXPECT_GE(UsableProcessors(), 1u);
    {
        WorkerCountScope one(1);
        EXPECT_EQ(WorkerCount(), 1u);
    }
    {
        WorkerCountScope many(1000);
        EXPECT_EQ(WorkerCount(), kMaxWorkers);
    }
    EXPECT_EQ(WorkerCount(), std::min(UsableProcessors(), kMaxWorkers));
}

TEST(ParallelTest, EveryIndexIsVisitedOnceForAnyWorkerCount)
{
    const std::size_t n = 1'000'003;
    for (const std::size_t workers : {1u, 2u, 3u, 0u}) {
        WorkerCountScope scope(workers);
        std::vector<std::uint8_t> seen(n, 0);
        std::atomic<std::size_t> partsRun{0};
        const std::size_t parts = ParallelParts(
            n,
            [&](std::size_t begin, std::size_t end, std::size_t) {
                for (std::size_t i = begin; i < end; ++i) ++seen[i];
                ++partsRun;
            },
            1000);
        EXPECT_EQ(parts, WorkerCount()) << workers;
        EXPECT_EQ(partsRun.load(), parts);
        EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](std::uint8_t v) { return v == 1; })) << workers;
    }
    EXPECT_EQ(ParallelParts(10, [](std::size_t, std::size_t, std::size_t) {}), 1u) << "small work stays on one thread";
    EXPECT_EQ(ParallelParts(0, [](std::size_t b, std::size_t e, std::size_t) { EXPECT_EQ(b, e); }), 1u);
}

TEST(ParallelTest, AnExceptionInAnyShareReachesTheCallerAfterEveryShareRan)
{
    WorkerCountScope scope(4);
    for (const std::size_t throwing : {0u, 2u}) {
        std::atomic<int> finished{0};
        EXPECT_THROW(RunParts(4,
                              [&](std::size_t part) {
                                  if (part == throwing) throw std::runtime_error("share failed");
                                  ++finished;
                              }),
                     std::runtime_error)
            << "share " << throwing;
        EXPECT_EQ(finished.load(), 3) << "the other shares ran and were joined";
    }
    RunParts(0, [](std::size_t) { FAIL() << "no parts, no calls"; });
}

} // namespace
} // namespace tessara
