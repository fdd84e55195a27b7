#include "platform/Parallel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <numeric>
#include <optional>
#include <stdexcept>
#include <vector>

namespace tessara {
namespace {

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

// Blocks of differing sizes, each tagged with its number, reach write exactly once
// and in order, whatever the worker count.
TEST(ParallelTest, MadeBlocksAreWrittenOnceInOrder)
{
    for (const std::size_t workers : {1u, 2u, 3u, 8u}) {
        WorkerCountScope scope(workers);
        for (const std::size_t blocks : {0u, 1u, 1000u}) {
            std::vector<std::size_t> written;
            const bool ok = MakeInOrder(
                blocks, 8,
                [](std::size_t block, unsigned char* buffer) -> std::optional<std::size_t> {
                    const std::size_t bytes = block % 7 + 1;
                    std::fill(buffer, buffer + bytes, static_cast<unsigned char>(block));
                    return bytes;
                },
                [&](std::size_t block, const unsigned char* data, std::size_t bytes) {
                    EXPECT_EQ(bytes, block % 7 + 1);
                    EXPECT_TRUE(std::all_of(data, data + bytes,
                                            [&](unsigned char c) { return c == static_cast<unsigned char>(block); }));
                    written.push_back(block);
                    return true;
                });
            EXPECT_TRUE(ok) << workers << " workers, " << blocks << " blocks";
            std::vector<std::size_t> expected(blocks);
            std::iota(expected.begin(), expected.end(), std::size_t{0});
            EXPECT_EQ(written, expected) << workers << " workers, " << blocks << " blocks";
        }
    }
}

// A block that cannot be made or written: false, every block before the first
// failed one made and written in order, none after it written.
TEST(ParallelTest, AFailedBlockEndsTheStreamAfterEveryBlockBeforeIt)
{
    struct Case {
        const char* name;
        std::vector<std::size_t> failing;   // in the order of the blocks
        bool inWrite;
        bool throws;
    };
    const Case cases[] = {
        {"make answers none", {500}, false, false},
        {"make throws", {500}, false, true},
        {"write answers false", {500}, true, false},
        {"write throws", {500}, true, true},
        {"two makes fail", {300, 301, 900}, false, false},
        {"the first block", {0}, false, false},
    };
    for (const std::size_t workers : {1u, 4u}) {
        WorkerCountScope scope(workers);
        for (const Case& c : cases) {
            const auto fails = [&](std::size_t block) {
                const bool failing = std::find(c.failing.begin(), c.failing.end(), block) != c.failing.end();
                if (failing && c.throws) throw std::runtime_error("block failed");
                return failing;
            };
            std::vector<std::atomic<int>> made(1000);
            std::vector<std::size_t> written;
            const bool ok = MakeInOrder(
                1000, 4,
                [&](std::size_t block, unsigned char*) -> std::optional<std::size_t> {
                    ++made[block];
                    if (!c.inWrite && fails(block)) return std::nullopt;
                    return 4;
                },
                [&](std::size_t block, const unsigned char*, std::size_t) {
                    if (c.inWrite && fails(block)) return false;
                    written.push_back(block);
                    return true;
                });
            EXPECT_FALSE(ok) << c.name;
            std::vector<std::size_t> expected(c.failing.front());
            std::iota(expected.begin(), expected.end(), std::size_t{0});
            EXPECT_EQ(written, expected) << c.name << ", " << workers << " workers";
            for (std::size_t block = 0; block <= c.failing.front(); ++block) {
                EXPECT_EQ(made[block].load(), 1) << c.name << ": block " << block;
            }
        }
    }
}

} // namespace
} // namespace tessara
