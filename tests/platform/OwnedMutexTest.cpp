#include "platform/OwnedMutex.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

namespace tessara {
namespace {

TEST(OwnedMutexTest, TheHolderSeesBusyWithoutTouchingTheMutexAgain)
{
    OwnedMutex mutex;
    EXPECT_FALSE(mutex.HeldByThisThread());
    std::unique_lock lock(mutex);
    EXPECT_TRUE(mutex.HeldByThisThread());
    // A paint pumped under the holder's own lock: busy, not undefined.
    EXPECT_FALSE(mutex.try_lock());
    EXPECT_TRUE(mutex.HeldByThisThread()) << "a refused try_lock leaves the holder holding";
    lock.unlock();
    EXPECT_FALSE(mutex.HeldByThisThread());
    ASSERT_TRUE(mutex.try_lock());
    EXPECT_TRUE(mutex.HeldByThisThread());
    mutex.unlock();
}

TEST(OwnedMutexTest, OtherThreadsSeeBusyWhileHeldAndNeverThemselvesAsHolder)
{
    OwnedMutex mutex;
    std::atomic<bool> held{false};
    std::atomic<bool> release{false};
    std::thread holder([&] {
        std::lock_guard lock(mutex);
        held = true;
        while (!release) std::this_thread::yield();
    });
    while (!held) std::this_thread::yield();
    EXPECT_FALSE(mutex.try_lock());
    EXPECT_FALSE(mutex.HeldByThisThread());
    release = true;
    holder.join();
    std::lock_guard lock(mutex);   // free again
    EXPECT_TRUE(mutex.HeldByThisThread());
}

TEST(OwnedMutexTest, WritersOnSeveralThreadsAreSerialised)
{
    OwnedMutex mutex;
    long counter = 0;
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t) {
        writers.emplace_back([&] {
            for (int i = 0; i < 10000; ++i) {
                std::lock_guard lock(mutex);
                ASSERT_TRUE(mutex.HeldByThisThread());
                ++counter;
            }
        });
    }
    for (std::thread& w : writers) w.join();
    EXPECT_EQ(counter, 40000);
}

} // namespace
} // namespace tessara
