#include "platform/Process.h"

#include <gtest/gtest.h>

namespace tessara {
namespace {

TEST(ProcessTest, ReturnsTheExitCode)
{
    EXPECT_EQ(RunProcess({"true"}), 0);
    EXPECT_EQ(RunProcess({"false"}), 1);
    EXPECT_EQ(RunProcess({"sh", "-c", "exit 3"}), 3);
}

TEST(ProcessTest, ArgumentsReachTheProgramAsTheyStand)
{
    // Through a shell the second word would end the comparison early.
    EXPECT_EQ(RunProcess({"test", "a b; exit 7", "=", "a b; exit 7"}), 0);
    EXPECT_EQ(RunProcess({"test", "*", "=", "*"}), 0);
}

TEST(ProcessTest, StartAndWaitSeparately)
{
    const auto pid = StartProcess({"sh", "-c", "exit 5"});
    ASSERT_TRUE(pid);
    EXPECT_EQ(WaitProcess(*pid), 5);
    EXPECT_EQ(WaitProcess(*pid), -1);    // already reaped
}

TEST(ProcessTest, MissingProgramIsReported)
{
    EXPECT_EQ(StartProcess({"/nonexistent/liblasconsole"}), std::nullopt);
    EXPECT_EQ(RunProcess({"no-such-program-anywhere"}), -1);
    EXPECT_EQ(RunProcess({}), -1);
    EXPECT_EQ(RunProcess({"sh", "-c", "kill -9 $$"}), -1);
}

} // namespace
} // namespace tessara
